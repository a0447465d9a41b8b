// Gameplay rules that the golden replays meet too rarely to pin: the level table, the chance
// thresholds, the gift's hit box, the chain kill's count and the gift's catch.
#include "tests/support/play_fixture.h"

using RulesTest = PlayTest;

// Each level's points (the sum of its enemies' strengths), as its layout gives them.
TEST_F(RulesTest, EachLevelSetsUpItsFormation) {
  const int points[kLevelCount] = {58, 60, 61, 62, 66, 68, 70, 68, 64, 66, 66, 68, 74,
                                   76, 76, 78, 80, 82, 76, 80, 78, 78, 80, 84, 86};
  for (int level = 0; level < kLevelCount; ++level) {
    StartLevel(int16_t(level));
    int sum = 0;
    for (const Enemy& e : Enemies) sum += e.alive * (e.hits + 1);
    EXPECT_EQ(sum, points[level]) << level;
  }
}

// A chance term of 1 needs a draw above 499 from 0..499: no enemy fires, no launcher starts.
TEST_F(RulesTest, AChanceOfOneNeverFiresNorLaunches) {
  StartNewGame();
  Play.enemyFireChance = Play.launchChance = 1;
  int started = 0;
  for (int frame = 0; frame < 3000; ++frame, play.now += 50) {
    StepFrame();
    started += Launcher.movingRight;
    for (const Enemy& e : Enemies) started += e.shot.inFlight;
  }
  EXPECT_EQ(started, 0);
}

// A falling gift is hit within the launcher picture's height (16 here), not its own 12.
TEST_F(RulesTest, TheFallingGiftIsHitWithinTheLauncherHeight) {
  StartNewGame();
  for (auto [x, y, hit] : {std::tuple{71, 115, 1}, {71, 116, 0}, {72, 100, 0}, {60, 100, 1}}) {
    Launcher.falling = 1;
    Launcher.x = 60;
    Launcher.y = 100;
    PlayerShip.shot = Shot{nullptr, 9, int16_t(x), int16_t(y), 234, 1};
    HitLauncher(Launcher);
    EXPECT_EQ(PlayerShip.shot.inFlight, !hit) << x << "," << y;
  }
}

// The kill that leaves ten enemies takes the one above it too, with its shot: nine are left,
// and the block is not sped up, since the chain kill does not count toward it.
TEST_F(RulesTest, AChainKillDoesNotSpeedTheBlockUp) {
  StartNewGame();
  Play.showBanner = 0;
  KeepOnly({0, 1, 2, 3, 4, 5, 6, 7, 24, 32, 40});
  Launcher.chainOn = 1;
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 150;  // slot 40 stands at (0, 140)
  Enemies[32].shot.inFlight = 1;
  Enemies[32].shot.y = 100;
  UpdateAndDraw();
  EXPECT_EQ(EnemyFormation.liveCount, 9);
  EXPECT_EQ(EnemyFormation.spedUp, 0);
  EXPECT_EQ(Enemies[32].alive + Enemies[40].alive + Enemies[24].alive, 1);
  EXPECT_EQ(Enemies[32].shot.inFlight, 0) << "the shot of the enemy taken along goes too";
}

// A gift is caught when its centre lies in the ship (90..119 from row 234); one column further
// it falls on until its bottom passes row 320, and is lost.
TEST_F(RulesTest, AGiftIsCaughtOnlyByTheShipElseLost) {
  StartNewGame();
  for (int x : {113, 114}) {
    Launcher.falling = 1;
    Launcher.kind = ExtraLife;
    Launcher.x = int16_t(x);
    Launcher.y = 228;  // its centre on the ship's top row
    int frames = 0;
    for (; Launcher.falling && frames < 100; ++frames) UpdateLauncher(Launcher);
    EXPECT_EQ(frames, x == 113 ? 1 : 27) << x;
    EXPECT_EQ(PlayerShip.lives, 4) << x;
  }
}
