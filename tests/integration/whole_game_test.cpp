// The whole program: start-up for real with its two refusals, and RunGame with the game's own
// content on the virtual clock, without a tap: keys, focus losses and a gamepad walk every
// screen, resume a game and start new ones, see the level after the 25th, play until the
// enemies win, and type a name into the table and the settings file.
#include <sys/wait.h>

#include <map>

#include "app/driver.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/ship.h"
#include "platform/memory.h"
#include "tests/support/harness.h"

TEST_F(GameTest, StartUpRefusesTooLittleMemoryAndASecondCopy) {
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  UseMemorySource([]() -> uint64_t { return 4999999; });
  EXPECT_EQ(StartUp(), StartupOutcome::NotEnoughMemory);
  UseMemorySource([]() -> uint64_t { return 5000000; });
  ASSERT_EQ(StartUp(), StartupOutcome::Run);
  UseMemorySource(nullptr);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Not enough memory!\nYou need at least 5MB of free memory.");
  EXPECT_EQ(boxes.shown[0].caption, "Error");
  EXPECT_EQ(boxes.shown[0].style, MB_OK);
  if (fork() == 0) _exit(StartUp() == StartupOutcome::AlreadyRunning ? 0 : 1);
  int status = -1;
  wait(&status);
  EXPECT_EQ(status, 0) << "a second copy ends quietly";
}

// One scripted event: the keys Down, Up, Right, Tab, Enter, Escape; the pad's hat down, right
// and centred, its south (s, o: down, up) and east (b, q) buttons; f: the window loses focus.
static SDL_Event Scripted(char c) {
  const std::string kKeys = "DURTNX";
  const SDLKey keys[] = {SDLK_DOWN, SDLK_UP, SDLK_RIGHT, SDLK_TAB, SDLK_RETURN, SDLK_ESCAPE};
  if (kKeys.find(c) != std::string::npos)
    return {.key = {SDL_KEYDOWN, 0, SDL_PRESSED, {0, keys[kKeys.find(c)], KMOD_NONE, 0}}};
  const std::map<char, SDL_Event> kEvents = {
      {'h', {.jhat = {SDL_JOYHATMOTION, 0, 0, SDL_HAT_DOWN}}},
      {'r', {.jhat = {SDL_JOYHATMOTION, 0, 0, SDL_HAT_RIGHT}}},
      {'c', {.jhat = {SDL_JOYHATMOTION, 0, 0, SDL_HAT_CENTERED}}},
      {'s', {.jbutton = {SDL_JOYBUTTONDOWN, 0, 0, SDL_PRESSED}}},
      {'o', {.jbutton = {SDL_JOYBUTTONUP, 0, 0, SDL_RELEASED}}},
      {'b', {.jbutton = {SDL_JOYBUTTONDOWN, 0, 1, SDL_PRESSED}}},
      {'q', {.jbutton = {SDL_JOYBUTTONUP, 0, 1, SDL_RELEASED}}},
      {'f', {.active = {SDL_ACTIVEEVENT, 0, SDL_APPINPUTFOCUS}}}};
  return kEvents.at(c);
}

TEST_F(ScreenTest, KeysAFocusLossAndAPadPlayTheWholeGameWithoutATap) {
  ASSERT_EQ(std::system(("cp -r " ZORBLATS_GAME_DIR "/data " + folder).c_str()), 0);
  // The focus mark's corner.
  SDL_Surface* corner = SDL_LoadBMP((folder + "data/focus.bmp").c_str());
  owned.push_back(corner);
  SDL_SetColorKey(corner, SDL_SRCCOLORKEY, 0);
  std::strcpy(Settings.highScoreNames[0], "Bob");  // the reset is answered No
  Settings.highScores[0] = 1;
  SaveSettings();
  std::string waits, kept, trace;
  bool paused = false, named = false;
  onWait = [&] {  // the screen by its top rows, and where the mark's corners lie
    const int ids[] = {kMainMenu, kOptions, kHelp, kScores, kAbout, kSupport};
    for (int k = 0; k < 6; ++k)
      if (Shows(Images[ids[k]], 0, 0, 240, 20)) waits += "MOHTAS"[k];
    for (int piece : {0, 18})  // the top-left and bottom-right corners
      for (int p = 0, found = 0; p < 234 * 314 && !found; ++p)
        if ((found = Shows(corner, p % 234, p / 234, 6, 6, piece)))
          waits += Format("%d,%d%s", p % 234, p / 234, piece ? "" : "-");
    waits += ' ';
    // The paused game and the game made after a loss, marked so that a restart would show.
    if (Shows(Images[kResumeButton], 55, 24) && !paused)
      paused = true, PlayerShip.score = 1234, PlayerShip.lives = 2, CurrentLevel = 7;
    if (named && waits[waits.size() - 2] == 'M') named = false, PlayerShip.score = 55;
  };
  onDelay = [&](uint32_t ms) {  // the start screen and its wait, banners (level/score/lives)
    if (ms < 1000) return;
    trace += ms == 3000 ? "G "
             : Shows(Images[kStartScreen], 0, 0)
                 ? Format("S%u ", ms)
                 : Format("B%d/%d/%d ", CurrentLevel, PlayerShip.score, PlayerShip.lives);
  };
  onPoll = [&] {
    if (CurrentLevel == 7) Play.levelDone = 1;  // the resumed game goes on at 8
    if (CurrentLevel == 8 && trace.find("B8") != std::string::npos)
      CurrentLevel = 24, Play.levelDone = 1;  // at 0
    if (blinkCounter != 1) return;      // the name entry has drawn its field for the first time
    kept = Settings.highScoreNames[0];  // the new row shows its old name until one is typed
    host.cursor = host.now, named = true;
    host.KeyDown(SDLK_a, 'A').KeyDown(SDLK_b, 'b').KeyDown(SDLK_BACKSPACE);
    for (char c : std::string("rcrchcoso")) host.Push(Scripted(c));
    host.KeyDown(SDLK_1, '!').KeyDown(SDLK_RETURN).Wait(1000);
    host.Push(Scripted('D')).Push(Scripted('N')).Wait(3000).Quit();
  };
  // Menu to options (difficulty up twice, the pad on to the sound), help (a page on, Tab),
  // high scores (reset, No by the mark, back by the pad's east), about, support, a new game
  // that the lost focus pauses, resumed by the pad; paused again, a new game fired at until
  // the swarm wins.
  host.Wait(1500);
  // In play the arrows let go ('_'): only the pad's south button fires.
  for (char c : std::string("DDNDRRhcXDNRTXDNDDNTRNbqDNDDNXUUUUN_ f Dsos   f DDN sos")) {
    if (c == ' ')
      host.Wait(2000);
    else if (c == '_')
      host.KeyUp(SDLK_UP).KeyUp(SDLK_RIGHT);
    else
      host.Push(Scripted(c)).Wait(10);
  }
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(trace, "S1000 B0/0/3 B8/1234/2 B0/1234/2 B0/0/3 G B0/55/3 ");
  // At each wait the screen (by its first letter, T: scores) and where the mark's corners lie.
  EXPECT_EQ(
      waits,
      "M M35,58-200,79 M35,92-200,113 O O19,79-97,92 O19,106-97,119 O19,134-97,147 O19,208-97,221 "
      "O19,208-97,221 M35,92-200,113 M35,125-200,146 H H H48,286- M35,125-200,146 M35,155-200,176 "
      "T T18,207-61,225 T121,207-196,225 T121,207-196,225 T52,174-106,192 T128,174-182,192 "
      "T121,207-196,225 M35,155-200,176 M35,155-200,176 M35,193-200,214 A A2,286-64,309 "
      "A78,286-159,310 S M35,193-200,214 M35,155-200,176 M35,125-200,146 M35,92-200,113 "
      "M35,58-200,79 M M53,22-181,44 M M53,22-181,44 M35,58-200,79 M M35,58-200,79 ");
  // Saved: difficulty 2, the new name (typed A, b, Backspace; walked to a, s, down to x and
  // pressed it; typed !) first and Bob, not reset, below it.
  const std::vector<uint8_t> file = ReadFileBytes(folder + "data/zorblats.set");
  EXPECT_EQ(file.at(2), 2);
  EXPECT_EQ(kept, "Bob");
  for (auto [at, name] : {std::pair{6, "Ax!"}, {36, "Bob"}})
    EXPECT_STREQ(reinterpret_cast<const char*>(&file.at(at)), name) << at;
}
