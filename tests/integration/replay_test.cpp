// Golden replays: whole scripted games played by the real loop on the virtual clock. Each
// game's end state is written as text and compared with the expected file beside the tests
// (tests/golden/<name>.txt).
//
// To regenerate the expected files after an intended change of the game's rules, run
//   ZORBLATS_UPDATE_GOLDEN=1 ctest --test-dir <build> -R Replay
// and read the difference before committing it: every line is explained by the dump below.
//
// The games are deterministic: RandomInRange depends only on the virtual clock, its salt and
// its previous result, and each replay starts every game object afresh and pins the previous
// result to 0 with a draw from [0, 1).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "game/game_loop.h"
#include "tests/support/play_fixture.h"

namespace {

// Every game object as the program constructs it, as if the program had just started.
void FreshProgram() {
  PlayerShip = Ship{};
  for (Enemy& e : Enemies) e = Enemy{};
  EnemyFormation = Formation{};
  Launcher = GiftLauncher{};
  for (Brick& b : Bricks) b = Brick{};
  for (Star& s : Stars) s = Star{};
  Play = PlayState{};
  CurrentLevel = 0;
  RandomInRange(0, 1, 0);  // the only result of [0, 1) is 0: the next seed is salt alone
}

std::string Dump(int result, uint32_t now, int soundCount) {
  std::ostringstream out;
  out << "result " << result << "\n";
  out << "time " << now << "\n";
  out << "sounds " << soundCount << "\n";
  out << "level " << CurrentLevel + 1 << " score " << PlayerShip.score << " lives " << PlayerShip.lives
      << "\n";
  out << "ship x " << PlayerShip.x << " speed " << PlayerShip.speed << " left "
      << int(PlayerShip.movingLeft) << " right " << int(PlayerShip.movingRight) << " shot "
      << int(PlayerShip.shot.inFlight) << " " << PlayerShip.shot.x << " " << PlayerShip.shot.y << "\n";
  const Formation& f = EnemyFormation;
  out << "formation x " << f.x << " y " << f.y << " right " << int(f.movingRight) << " left "
      << int(f.movingLeft) << " live " << f.liveCount << " fast " << int(f.spedUp) << "\n";
  // One line per formation row: alive/cell/hits of each slot, '*' for an explosion.
  for (int r = 0; r < kFormationRows; ++r) {
    out << "row " << r << ":";
    for (int j = 0; j < kFormationColumns; ++j) {
      const Enemy& e = Enemies[8 * r + j];
      out << " " << int(e.alive) << "/" << e.cell << "/" << e.hits << (e.exploding ? "*" : "");
    }
    out << "\n";
  }
  for (int k = 0; k < kBrickCount; ++k) {
    out << "brick " << k << ":";
    for (int16_t d : Bricks[k].damage) out << " " << d;
    out << "\n";
  }
  const GiftLauncher& g = Launcher;
  out << "launcher x " << g.x << " y " << g.y << " crossing " << int(g.movingRight) << " falling "
      << int(g.falling) << " kind " << g.kind << " effect " << int(g.effectActive) << " timer "
      << g.effectTimer << " flags " << int(g.reverseOn) << int(g.speedOn) << int(g.chainOn) << "\n";
  return out.str();
}

class ReplayTest : public PlayTest {
 protected:
  // Compares the dump with tests/golden/<name>.txt, or rewrites that file on request.
  void ExpectGolden(const std::string& name, const std::string& dump) {
    const std::string path = std::string(ZORBLATS_SOURCE_DIR) + "/tests/golden/" + name + ".txt";
    if (std::getenv("ZORBLATS_UPDATE_GOLDEN")) {
      std::ofstream(path, std::ios::trunc) << dump;
      return;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in.good()) << "missing " << path << " (regenerate with ZORBLATS_UPDATE_GOLDEN=1)";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(dump, expected.str()) << "end state of replay " << name << " differs from " << path;
  }

  // Checks that hold for any end state within one level.
  void ExpectConsistent() {
    int alive = 0;
    for (int i = 0; i < kFormationSlots; ++i) {
      const Enemy& e = Enemies[i];
      alive += e.alive;
      if (e.alive) {
        EXPECT_EQ(e.cell, Play.layout[i]) << "slot " << i;
        EXPECT_GE(e.hits, 0);
        EXPECT_LT(e.hits, e.cell);
      } else {
        EXPECT_EQ(e.cell, 0);
      }
    }
    EXPECT_EQ(EnemyFormation.liveCount, alive);
    EXPECT_EQ(EnemyFormation.spedUp, alive < 10 ? 1 : 0);
    for (const Brick& b : Bricks) {
      for (int16_t d : b.damage) EXPECT_TRUE(d >= 0 && d <= 2);
    }
  }

  // With no chain kill possible, the score is the number of hits the enemies took.
  void ExpectScoreIsHitsTaken() {
    int taken = 0;
    for (int i = 0; i < kFormationSlots; ++i) {
      const Enemy& e = Enemies[i];
      taken += e.alive ? Play.layout[i] - 1 - e.hits : Play.layout[i];
    }
    EXPECT_EQ(PlayerShip.score, taken);
  }

  int LoopUntilEnd() {
    int result = 0;
    do {
      result = RunGameLoop();
    } while (result == OpenMenu);  // the player comes straight back
    return result;
  }
};

}  // namespace

// The first level on the easiest setting: the ship sweeps right and left with fire held,
// opens the menu once and comes back, and leaves after 40 seconds.
TEST_F(ReplayTest, FirstLevelSweep) {
  FreshProgram();
  StartNewGame();
  host.cursor = 1000;  // the banner holds the first frame for a second
  host.KeyDown(SDLK_UP).Wait(500).KeyDown(SDLK_RIGHT).Wait(1500).KeyUp(SDLK_RIGHT);
  host.Wait(1000).KeyDown(SDLK_LEFT).Wait(3000).KeyUp(SDLK_LEFT).Wait(100).KeyDown(SDLK_LCTRL);
  host.Wait(4000).Tap(200, 280).Wait(200).KeyDown(SDLK_RIGHT).Wait(800).KeyUp(SDLK_RIGHT);
  host.Wait(100).KeyDown(SDLK_UP).Wait(30000).Quit();
  const int result = LoopUntilEnd();
  ExpectConsistent();
  ExpectGolden("first_level_sweep", Dump(result, host.now, static_cast<int>(sound.played.size())));
}

// The hardest setting without gifts, fire held and the ship weaving, until the game is lost.
TEST_F(ReplayTest, HardGameUntilGameOver) {
  FreshProgram();
  Settings.difficulty = 2;
  StartNewGame();
  Play.launchChance = 0;
  host.cursor = 1000;
  host.KeyDown(SDLK_UP);
  for (int i = 0; i < 60; ++i) {
    host.Wait(1200).KeyDown(i % 2 ? SDLK_LEFT : SDLK_RIGHT).Wait(700).KeyUp(i % 2 ? SDLK_LEFT : SDLK_RIGHT);
    host.Wait(50).KeyDown(SDLK_UP);
  }
  const int result = LoopUntilEnd();
  EXPECT_EQ(result, GameOver);
  ExpectConsistent();
  ExpectScoreIsHitsTaken();
  ExpectGolden("hard_game_until_game_over", Dump(result, host.now, static_cast<int>(sound.played.size())));
}

// Level 5 with the launcher crossing often and the ship standing in the gap between the
// first two bricks, firing; sound off. Ends with the quit after 60 seconds.
TEST_F(ReplayTest, GiftsOnLevelFive) {
  FreshProgram();
  Settings.soundOn = 0;
  StartNewGame();
  CurrentLevel = 4;
  StartLevel(4);
  Play.launchChance = 100;
  host.cursor = 1000;
  host.KeyDown(SDLK_LEFT).Wait(250).KeyUp(SDLK_LEFT).Wait(50).KeyDown(SDLK_UP).Wait(60000).Quit();
  const int result = LoopUntilEnd();
  ExpectConsistent();
  EXPECT_TRUE(sound.played.empty());
  ExpectGolden("gifts_on_level_five", Dump(result, host.now, static_cast<int>(sound.played.size())));
}
