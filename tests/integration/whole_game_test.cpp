// The whole program: start-up for real with its two refusals, and RunGame with the game's own
// content on the virtual clock: the start screen, the menu with and without a game, resuming,
// a new game from the paused menu, the level after the 25th, a game played until the enemies
// win, the name entry, the settings file, a new game from the menu after it, a quit in play;
// then the same without a tap: keys, a focus loss and a gamepad walk every screen.
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstring>

#include "app/driver.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/ship.h"
#include "platform/memory.h"
#include "platform/paths.h"
#include "tests/support/screens.h"

TEST_F(GameTest, StartUpRefusesTooLittleMemoryAndASecondCopyAndOtherwiseOpensTheScreen) {
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  UseMemorySource([]() -> uint64_t { return 4999999; });
  EXPECT_EQ(StartUp(), StartupOutcome::NotEnoughMemory);
  UseMemorySource([]() -> uint64_t { return 5000000; });
  ASSERT_EQ(StartUp(), StartupOutcome::Run);
  UseMemorySource(nullptr);
  const ScriptedMessageBox::Shown& box = boxes.shown.at(0);  // one message: text, caption and style
  EXPECT_EQ(box.text + box.caption + std::to_string(box.style) + std::to_string(boxes.shown.size()),
            "Not enough memory!\nYou need at least 5MB of free memory.Error01");
  if (fork() == 0) _exit(StartUp() == StartupOutcome::AlreadyRunning ? 0 : 1);
  int status = -1;
  wait(&status);
  EXPECT_EQ(status, 0) << "a second copy ends quietly";
  char *title = nullptr, exe[4096] = {}, cwd[4096] = {};
  SDL_WM_GetCaption(&title, nullptr);
  EXPECT_EQ(std::to_string(ScreenSurface->w) + "x" + std::to_string(ScreenSurface->h) + "x" +
                std::to_string(ScreenSurface->format->BitsPerPixel) + title, "240x320x16ZORBLATS");
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  const std::string home = std::string(exe).substr(0, std::string(exe).rfind('/') + 1);
  EXPECT_EQ(std::string(DataDir) + " " + getcwd(cwd, sizeof cwd) + "/", home + "data\\ " + home);
}

TEST_F(ScreenTest, FromTheMenuThroughEveryFlowToTheTableAndTheFile) {
  ASSERT_EQ(std::system(("cp -r " ZORBLATS_GAME_DIR "/data " + folder).c_str()), 0);  // the game's own content
  // Resume does nothing at start; a new game; the menu from play, resume; the menu, a new game.
  host.Wait(1010).Press(60, 30).Wait(10).Press(100, 70).Wait(2000).Press(200, 280).Wait(500).Press(60, 30);
  host.Wait(7000).Press(200, 280).Wait(500).Press(100, 70);
  std::string trace;
  const auto state = [] { return std::to_string(CurrentLevel) + "/" + std::to_string(PlayerShip.score) + "/" + std::to_string(PlayerShip.lives); };
  int waits = 0, polls = 0, finalScore = -1;
  onDelay = [&](uint32_t ms) {  // the start screen, a level's banner, the game-over picture
    if (ms >= 1000) trace += ms == 3000 ? "G " : Shows(Images[kStartScreen], 0, 0) ? "S " : "B" + state() + " ";
  };
  onWait = [&] {
    trace += Shows(Images[kResumeButton], 55, 24) ? "R " : Shows(Images[kMainMenu], 0, 0) ? "M " : "? ";
    // The paused game and the game made after a loss, marked so that a restart would show.
    if (++waits == 3) PlayerShip.score = 1234, PlayerShip.lives = 2, CurrentLevel = 7;
    if (waits == 5) PlayerShip.score = 55;
  };
  onPoll = [&] {
    if (waits == 3 && host.now >= 5000 && CurrentLevel == 7) Play.levelDone = 1;  // goes on at 8
    if (waits == 3 && host.now >= 8000 && CurrentLevel == 8) CurrentLevel = 24, Play.levelDone = 1;  // at 0
    if (host.Pending() == 0 && blinkCounter == 0 && host.now < 1800000 && ++polls % 4 == 0)  // play: fire
      host.Wait(host.now - host.cursor).KeyDown(SDLK_UP).Wait(100).KeyUp(SDLK_UP);
    if (blinkCounter == 1 && finalScore < 0) {  // the name entry has begun
      finalScore = PlayerShip.score;
      TypeKeys(host.Wait(host.now - host.cursor), "\5zorb\x1a" "b");
      host.Press(30, 215).Wait(1000).Press(100, 70).Wait(3000).Quit();
    }
  };
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(trace, "S M M B0/0/3 R B8/1234/2 B0/1234/2 R B0/0/3 G M B0/55/3 ");
  Settings = SettingsRecord{};
  LoadSettings();  // the table as the file holds it
  EXPECT_EQ(Settings.highScoreNames[0] + std::to_string(Settings.highScores[0]), "Zorb" + std::to_string(finalScore));
  EXPECT_EQ(std::string(StoryText).size(), ReadFileBytes(folder + "data/story").size());  // the help text, whole
}

// One scripted event: the keys Down, Up, Right, Tab, Enter, Escape; the pad's hat down, right
// and centred, its south (s, o: down, up) and east (b, q) buttons; f: the window loses focus.
static SDL_Event Scripted(char c) {
  static const char kCodes[] = "DURTNXhrcsobqf";
  static const SDLKey kSyms[] = {SDLK_DOWN, SDLK_UP, SDLK_RIGHT, SDLK_TAB, SDLK_RETURN, SDLK_ESCAPE};
  static const uint8_t kHats[] = {SDL_HAT_DOWN, SDL_HAT_RIGHT, SDL_HAT_CENTERED};
  const int i = static_cast<int>(std::strchr(kCodes, c) - kCodes);
  SDL_Event e{};
  e.type = i < 6 ? SDL_KEYDOWN : i < 9 ? SDL_JOYHATMOTION : i == 13 ? SDL_ACTIVEEVENT : i % 2 ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
  if (i < 6) e.key.keysym.sym = kSyms[i];
  else if (i < 9) e.jhat.value = kHats[i - 6];
  else if (i < 13) e.jbutton.button = i > 10;
  else e.active.state = SDL_APPINPUTFOCUS;
  return e;
}

TEST_F(ScreenTest, KeysAFocusLossAndAPadPlayTheWholeGameWithoutATap) {
  ASSERT_EQ(std::system(("cp -r " ZORBLATS_GAME_DIR "/data " + folder).c_str()), 0);
  SDL_Surface* corner = SDL_LoadBMP((folder + "data/focus.bmp").c_str());  // the focus mark's corner
  owned.push_back(corner);
  SDL_SetColorKey(corner, SDL_SRCCOLORKEY, 0);
  std::vector<uint8_t> bytes(kSettingsFileSize);  // one score to keep: the reset is answered No
  std::memcpy(&bytes[6], "Bob", 3);
  bytes[156] = 1;
  WriteFileBytes(folder + "data/zorblats.set", bytes);
  std::vector<std::array<int, 3>> waits;
  std::vector<int> lit;
  std::string kept;
  onDelay = [&](uint32_t ms) {  // the keys lit while the real keyboard types (the middle pushed in)
    for (const KeyboardKey& k : KeyTable)
      if (ms == 80 && k.normal != kNoActionKey &&
          Shows(Images[kKeyboardSmallPushed], k.area.left + 6, 240 + k.area.top, 6, 6, k.area.left + 6, k.area.top + 6))
        lit.push_back(k.normal);
  };
  onWait = [&] {  // the screen by its top rows, and where the mark's top-left corner lies
    std::array<int, 3> at{-1, -1, -1};
    for (int id : {kMainMenu, kOptions, kHelp, kScores, kAbout, kSupport})
      if (Shows(Images[id], 0, 0, 240, 20)) at[0] = id;
    for (int p = 0; p < 234 * 314 && at[1] < 0; ++p)
      if (Shows(corner, p % 234, p / 234, 6, 6)) at = {at[0], p % 234, p / 234};
    waits.push_back(at);
  };
  onPoll = [&] {
    if (blinkCounter != 1) return;  // the name entry has drawn its field for the first time
    kept = Settings.highScoreNames[0];  // the new row shows its old name until one is typed
    host.cursor = host.now;
    host.KeyDown(SDLK_a, 'A').KeyDown(SDLK_b, 'b').KeyDown(SDLK_BACKSPACE);
    for (char c : std::string("rcrchcoso")) host.Push(Scripted(c));
    host.KeyDown(SDLK_1, '!').KeyDown(SDLK_RETURN);
  };
  // Menu to options (difficulty up twice, the pad on to the sound), help (a page on, Tab),
  // high scores (reset, No by the mark, back by the pad's east), about, support, a new game
  // that the lost focus pauses, resumed by the pad, and fired at until the swarm wins.
  host.Wait(1500);
  // In play the arrows let go ('_'): only the pad's south button fires.
  for (char c : std::string("DDNDRRhcXDNRTXDNDDNTRNbqDNDDNXUUUUN_ f Dsos")) {
    if (c == ' ') host.Wait(2000);
    else if (c == '_') host.KeyUp(SDLK_UP).KeyUp(SDLK_RIGHT);
    else host.Push(Scripted(c)).Wait(10);
  }
  EXPECT_EQ(RunGame(), Quit);
  const int M = kMainMenu, O = kOptions, H = kHelp, S = kScores, A = kAbout, P = kSupport;
  EXPECT_EQ(waits, (std::vector<std::array<int, 3>>{
      {M, -1, -1}, {M, 35, 58}, {M, 35, 92}, {O, -1, -1}, {O, 19, 79}, {O, 19, 106}, {O, 19, 134},
      {O, 19, 208}, {O, 19, 208}, {M, 35, 92}, {M, 35, 125}, {H, -1, -1}, {H, -1, -1}, {H, 48, 286},
      {M, 35, 125}, {M, 35, 155}, {S, -1, -1}, {S, 18, 207}, {S, 121, 207}, {S, 121, 207},
      {S, 52, 174}, {S, 128, 174}, {S, 121, 207}, {M, 35, 155}, {M, 35, 155}, {M, 35, 193},
      {A, -1, -1}, {A, 2, 286}, {A, 78, 286}, {P, -1, -1}, {M, 35, 193}, {M, 35, 155}, {M, 35, 125},
      {M, 35, 92}, {M, 35, 58}, {M, -1, -1}, {M, 53, 22}, {M, -1, -1}}));
  // Typed A, b, Backspace; walked to a, s, down to x and pressed it; typed !.
  EXPECT_EQ(lit, (std::vector<int>{'a', 'b', kBackspaceKey, 'x', '1'}));
  // Saved: difficulty 2, the new name first and Bob, not reset, below it.
  const std::vector<uint8_t> file = ReadFileBytes(folder + "data/zorblats.set");
  EXPECT_EQ(file.at(2), 2);
  EXPECT_EQ(kept + "," + reinterpret_cast<const char*>(&file.at(6)) + "," + reinterpret_cast<const char*>(&file.at(36)), "Bob,Ax!,Bob");
}
