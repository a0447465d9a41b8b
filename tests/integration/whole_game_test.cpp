// The whole program from RunGame on with the game's own content, on the virtual clock: the
// start screen, the menu with and without a game, resuming, a new game from the paused menu,
// the level after the 25th, a game played until the enemies win, the name entry, the
// settings file, a new game from the menu after it, and a quit during play.
#include <filesystem>

#include "app/driver.h"
#include "game/game_state.h"
#include "game/ship.h"
#include "tests/support/screens.h"

namespace {

std::string State() {
  return std::to_string(CurrentLevel) + "/" + std::to_string(PlayerShip.score) + "/" + std::to_string(PlayerShip.lives);
}

TEST_F(ScreenTest, FromTheMenuThroughEveryFlowToTheTableAndTheFile) {
  namespace fs = std::filesystem;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(ZORBLATS_GAME_DIR) / "data"))
    fs::copy(entry.path(), fs::path(folder) / "data" / entry.path().filename());
  host.Wait(1010).Press(60, 30).Wait(10).Press(100, 70);  // resume does nothing at start; new game
  host.Wait(2000).Press(200, 280).Wait(500).Press(60, 30); // the menu from play, then resume
  host.Wait(7000).Press(200, 280).Wait(500).Press(100, 70); // the menu again, then a new game
  std::string trace;
  int waits = 0, polls = 0;
  int32_t finalScore = -1;
  const auto freePlay = [&] { return host.Pending() == 0 && blinkCounter == 0 && host.now < 1800000; };
  onDelay = [&](uint32_t ms) {
    if (ms == 1000) trace += Shows(kStartScreen, 0, 0) ? "S " : "B" + State() + " ";
    if (ms == 3000) trace += "G ";
  };
  onWait = [&] {
    trace += Shows(kResumeButton, 55, 24) ? "R " : Shows(kMainMenu, 0, 0) ? "M " : "? ";
    // The paused game and the game made after a loss, marked so that a restart would show.
    if (++waits == 3) PlayerShip.score = 1234, PlayerShip.lives = 2, CurrentLevel = 7;
    if (waits == 5) PlayerShip.score = 55;
  };
  onPoll = [&] {
    if (host.now >= 5000 && CurrentLevel == 7) Play.levelDone = 1;  // goes on at 8
    if (host.now >= 8000 && CurrentLevel == 8) CurrentLevel = 24, Play.levelDone = 1;  // at 0
    if (freePlay() && ++polls % 4 == 0) host.Wait(host.now - host.cursor).KeyDown(SDLK_UP).Wait(100).KeyUp(SDLK_UP);
    if (blinkCounter == 1 && finalScore < 0) {  // the name entry has begun
      finalScore = PlayerShip.score;
      host.cursor = host.now;
      TypeKeys(host, "\5zorb\x1a" "b");
      host.Press(30, 215).Wait(1000).Press(100, 70).Wait(3000).Quit();
    }
  };
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(trace, "S M M B0/0/3 R B8/1234/2 B0/1234/2 R B0/0/3 G M B0/55/3 ");
  EXPECT_GT(finalScore, 0);
  EXPECT_EQ(Settings.highScoreNames[0] + std::to_string(Settings.highScores[0]), "Zorb" + std::to_string(finalScore));
  const std::vector<uint8_t> file = ReadFileBytes(folder + "data/zorblats.set");
  ASSERT_EQ(file.size(), 211u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[6])), "Zorb");
  EXPECT_EQ(file[156] | file[157] << 8 | file[158] << 16, finalScore);
  const std::vector<uint8_t> story = ReadFileBytes(folder + "data/story");
  EXPECT_EQ(std::string(StoryText), std::string(story.begin(), story.end()));
}

}  // namespace
