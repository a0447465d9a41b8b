// The whole program: start-up for real with its two refusals, and RunGame with the game's own
// content on the virtual clock: the start screen, the menu with and without a game, resuming,
// a new game from the paused menu, the level after the 25th, a game played until the enemies
// win, the name entry, the settings file, a new game from the menu after it, a quit in play.
#include <sys/wait.h>
#include <unistd.h>


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
    if (ms >= 1000) trace += ms == 3000 ? "G " : Shows(kStartScreen, 0, 0) ? "S " : "B" + state() + " ";
  };
  onWait = [&] {
    trace += Shows(kResumeButton, 55, 24) ? "R " : Shows(kMainMenu, 0, 0) ? "M " : "? ";
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
