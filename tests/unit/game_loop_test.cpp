// Gameplay rules that the golden replays meet too rarely to pin: the level table, the chance
// thresholds, the gift's hit box and the chain kill's count.
#include <algorithm>

#include "tests/support/play_fixture.h"

using RulesTest = PlayTest;

// Each level's enemy count as listed beside its layout; difficulties -1 to 3 in turn set the
// fire chance (7, 20, 30) or keep the one before (30 at program start).
TEST_F(RulesTest, EachLevelAndDifficultySetsUpItsFormation) {
  const int enemies[kLevelCount] = {48, 48, 48, 48, 48, 48, 48, 48, 42, 42, 42, 42, 42,
                                    42, 42, 42, 42, 42, 42, 42, 42, 42, 42, 42, 42};
  const int chance[] = {30, 7, 20, 30, 30};
  for (int level = 0; level < kLevelCount; ++level) {
    Settings.difficulty = int16_t(level % 5 - 1);
    StartLevel(int16_t(level));
    EXPECT_EQ(EnemyFormation.liveCount, enemies[level]) << level;
    EXPECT_EQ(Play.enemyFireChance, chance[level % 5]) << level;
    EXPECT_TRUE(std::equal(Play.layout, Play.layout + kFormationSlots, LevelTable[level].begin()));
    for (int i = 0; i < kFormationSlots; ++i) EXPECT_EQ(Enemies[i].alive, Enemies[i].cell != 0);
  }
}

// A chance term of 1 needs a draw above 499 from 0..499: no enemy fires, no launcher starts.
TEST_F(RulesTest, AChanceOfOneNeverFiresNorLaunches) {
  StartNewGame();
  Play.enemyFireChance = Play.launchChance = 1;
  for (int frame = 0; frame < 3000; ++frame) {
    play.now += 50;
    StepFrame();
    ASSERT_EQ(Launcher.movingRight, 0) << frame;
    for (const Enemy& e : Enemies) ASSERT_EQ(e.shot.inFlight, 0) << frame;
  }
}

// A falling gift is hit within the launcher picture's height (16 here), not its own 12.
TEST_F(RulesTest, TheFallingGiftIsHitWithinTheLauncherHeight) {
  StartNewGame();
  for (auto [x, y, hit] : {std::tuple{71, 115, 1}, {71, 116, 0}, {72, 100, 0}, {60, 100, 1}}) {
    Launcher.falling = 1;
    Launcher.x = 60;
    Launcher.y = 100;
    PlayerShip.shot.inFlight = 1;
    PlayerShip.shot.x = int16_t(x);
    PlayerShip.shot.y = int16_t(y);
    HitLauncher(Launcher);
    EXPECT_EQ(PlayerShip.shot.inFlight, !hit) << x << "," << y;
  }
}

// The kill that leaves ten enemies takes the one above it too: nine are left, and the block
// is not sped up, since the chain kill does not count toward it.
TEST_F(RulesTest, AChainKillDoesNotSpeedTheBlockUp) {
  StartNewGame();
  Play.showBanner = 0;
  KeepOnly({0, 1, 2, 3, 4, 5, 6, 7, 24, 32, 40});
  Launcher.chainOn = 1;
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 150;  // slot 40 stands at (0, 140)
  UpdateAndDraw();
  EXPECT_EQ(EnemyFormation.liveCount, 9);
  EXPECT_EQ(EnemyFormation.spedUp, 0);
  EXPECT_EQ(Enemies[32].alive + Enemies[40].alive + Enemies[24].alive, 1);
}
