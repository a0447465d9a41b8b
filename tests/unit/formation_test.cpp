// The enemy formation: its sweep and turns, firing, hits, strengths and explosions.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/game_loop.h"
#include "tests/support/play_fixture.h"

using FormationTest = PlayTest;

namespace {

// Runs frames until the formation changes direction; returns the extreme x reached.
struct Sweep {
  int extremeX;
  int frames;
};

Sweep RunUntilTurn() {
  const bool wasRight = EnemyFormation.movingRight;
  int extreme = EnemyFormation.x;
  for (int frame = 1; frame < 1000; ++frame) {
    StepFrame();
    extreme = wasRight ? std::max(extreme, EnemyFormation.x) : std::min(extreme, EnemyFormation.x);
    if (EnemyFormation.movingRight != wasRight) return {extreme, frame};
  }
  ADD_FAILURE() << "the formation never turned";
  return {extreme, 0};
}

}  // namespace

TEST_F(FormationTest, OvershootsByOneStepBeforeEachTurn) {
  QuietGame();
  // Right edge: the last column stands at 161 + x; the turn is decided on x = 50 of the
  // previous frame (161 + 50 + 23 > 233), after this frame's step to 51.
  Sweep right = RunUntilTurn();
  EXPECT_EQ(right.extremeX, 51);
  EXPECT_EQ(right.frames, 51);
  EXPECT_EQ(EnemyFormation.y, 41);
  EXPECT_EQ(EnemyFormation.movingLeft, 1);
  // Left edge: previous placement x = 6 < 7, turned after the step to 5.
  Sweep left = RunUntilTurn();
  EXPECT_EQ(left.extremeX, 5);
  EXPECT_EQ(EnemyFormation.y, 42);
  EXPECT_EQ(EnemyFormation.movingRight, 1);
  EXPECT_EQ(Play.gameOver, 0);
}

TEST_F(FormationTest, SweepsFurtherWithTheOuterColumnsGone) {
  QuietGame();
  for (int r = 0; r < kFormationRows; ++r) {
    Enemies[8 * r].alive = 0;
    Enemies[8 * r + 7].alive = 0;
  }
  // Column 6 stands at 138 + x: turn on 73 (138 + 73 + 23 > 233), reaching 74.
  EXPECT_EQ(RunUntilTurn().extremeX, 74);
  // Column 1 stands at 23 + x: turn on -17, reaching -18.
  EXPECT_EQ(RunUntilTurn().extremeX, -18);
}

TEST_F(FormationTest, ExplodingEnemiesDoNotHoldTheBlockBack) {
  QuietGame();
  EnemyFormation.x = 47;
  UpdateAndDraw();  // placed at 47: column 7 ends at 161 + 47 + 23 = 231
  for (int r = 0; r < kFormationRows; ++r) {
    Enemies[8 * r + 7].alive = 0;
    Enemies[8 * r + 7].cell = 0;
    Enemies[8 * r + 7].exploding = 1;
    Enemies[8 * r + 7].frame = 0;
  }
  // Column 7 would turn the block after the frame that placed it at 50; while it explodes
  // (five frames) only column 6 counts.
  for (int frame = 0; frame < 4; ++frame) {
    StepFrame();
    EXPECT_EQ(Enemies[7].exploding, 1);
  }
  EXPECT_EQ(EnemyFormation.x, 51);
  EXPECT_EQ(EnemyFormation.movingRight, 1);
  EXPECT_EQ(EnemyFormation.y, 40);
}

TEST_F(FormationTest, ReverseDriftsTheBlockOffScreenAndBack) {
  QuietGame();
  Launcher.kind = Reverse;
  Launcher.reverseOn = 1;
  Launcher.effectActive = 1;
  for (int frame = 0; frame < 100; ++frame) StepFrame();
  // Only the right edge is watched while it moves right, so it drifts left unchecked.
  EXPECT_EQ(EnemyFormation.x, -100);
  EXPECT_EQ(EnemyFormation.y, 40);
  EXPECT_EQ(EnemyFormation.movingRight, 1);
  EXPECT_EQ(Enemies[7].x, 161 - 100);
  StepFrame();  // the effect ends in this frame's launcher step
  EXPECT_EQ(Launcher.reverseOn, 0);
  EXPECT_EQ(EnemyFormation.x, -99);
  for (int frame = 0; frame < 99; ++frame) StepFrame();
  EXPECT_EQ(EnemyFormation.x, 0);
}

TEST_F(FormationTest, ReverseWhileSpedUpStopsTheBlock) {
  QuietGame();
  EnemyFormation.spedUp = 1;
  StepFrame();
  EXPECT_EQ(EnemyFormation.x, 2);
  Launcher.reverseOn = 1;
  for (int frame = 0; frame < 30; ++frame) StepFrame();
  EXPECT_EQ(EnemyFormation.x, 2);
  EnemyFormation.movingRight = 0;
  EnemyFormation.movingLeft = 1;
  StepFrame();
  EXPECT_EQ(EnemyFormation.x, 2);
}

TEST_F(FormationTest, TheLandingIsTestedOnlyAtALeftTurn) {
  for (int startY : {215, 216}) {
    QuietGame();
    KeepOnly({0, 1, 2});
    EnemyFormation.y = startY;
    StepFrame();
    RunUntilTurn();  // right turn: the block drops to startY + 1
    EXPECT_EQ(EnemyFormation.y, startY + 1);
    EXPECT_EQ(Play.gameOver, 0) << "a right turn never lands the formation";
    RunUntilTurn();  // left turn, tested on the row before the drop
    EXPECT_EQ(EnemyFormation.y, startY + 2);
    // 216 + 18 = 234 is still above the line; 217 + 18 passes it.
    EXPECT_EQ(Play.gameOver, startY == 216 ? 1 : 0) << "start row " << startY;
  }
}

TEST_F(FormationTest, AStrengthThreeEnemyWearsDownThroughItsPicturesForThreePoints) {
  QuietGame();
  HideStars();
  Enemy& e = Enemies[3];  // row 0, column 3, at (69, 40)
  ASSERT_EQ(e.cell, 3);
  UpdateAndDraw();
  EXPECT_EQ(ScreenPixel(80, 50), Colour(kEnemy3));
  const ImageId after[] = {kEnemy2, kEnemy1};
  for (int hit = 0; hit < 2; ++hit) {
    PlayerShip.shot.inFlight = 1;
    PlayerShip.shot.x = 70;
    PlayerShip.shot.y = 57;  // bottom row of the enemy
    UpdateAndDraw();
    EXPECT_EQ(PlayerShip.shot.inFlight, 0);
    EXPECT_EQ(PlayerShip.score, hit + 1);
    EXPECT_EQ(e.alive, 1);
    EXPECT_EQ(ScreenPixel(80, 50), Colour(after[hit]));
  }
  EXPECT_EQ(Played(1), 0);
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 91;  // right-most column of the enemy
  PlayerShip.shot.y = 40;
  UpdateAndDraw();
  EXPECT_EQ(PlayerShip.score, 3);
  EXPECT_EQ(e.alive, 0);
  EXPECT_EQ(e.cell, 0);
  EXPECT_EQ(e.exploding, 1);
  EXPECT_EQ(EnemyFormation.liveCount, 47);
  EXPECT_EQ(Played(1), 1);
  EXPECT_EQ(ScreenPixel(80, 50), Colour(kExplosion));
  // The explosion shows frames 0 to 4, then the slot is empty.
  for (int frame = 0; frame < 4; ++frame) UpdateAndDraw();
  EXPECT_EQ(e.exploding, 0);
  EXPECT_EQ(e.frame, 0);
  UpdateAndDraw();
  EXPECT_EQ(ScreenPixel(80, 50), Colour(kInGame));
  EXPECT_EQ(PlayerShip.score, 3);
}

TEST_F(FormationTest, AShotJustOutsideTheEnemyMisses) {
  QuietGame();
  Enemy& e = Enemies[3];  // (69, 40) to (92, 58), right and bottom outside
  for (auto [x, y] : {std::pair{92, 45}, std::pair{80, 58}, std::pair{68, 45}, std::pair{80, 39}}) {
    PlayerShip.shot.inFlight = 1;
    PlayerShip.shot.x = static_cast<int16_t>(x);
    PlayerShip.shot.y = static_cast<int16_t>(y);
    EXPECT_EQ(HitEnemy(e), 0);
    EXPECT_EQ(PlayerShip.shot.inFlight, 1) << x << "," << y;
  }
  EXPECT_EQ(e.hits, 2);
  EXPECT_EQ(PlayerShip.score, 0);
}

TEST_F(FormationTest, ChainKillRemovesTheLiveEnemyAboveWithoutPoints) {
  QuietGame();
  Launcher.chainOn = 1;
  // Row 2, column 2 (strength 1) at (46, 80); above it row 1, column 2 (strength 2).
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 50;
  PlayerShip.shot.y = 85;
  Enemies[10].shot.inFlight = 1;
  Enemies[10].shot.x = 50;
  Enemies[10].shot.y = 100;
  UpdateAndDraw();
  EXPECT_EQ(Enemies[18].exploding, 1);
  EXPECT_EQ(Enemies[10].alive, 0);
  EXPECT_EQ(Enemies[10].cell, 0);
  EXPECT_EQ(Enemies[10].exploding, 0);
  EXPECT_EQ(Enemies[10].shot.inFlight, 0);
  EXPECT_EQ(EnemyFormation.liveCount, 46);
  EXPECT_EQ(PlayerShip.score, 1);
  EXPECT_EQ(Played(1), 1);

  // Row 3, column 2 below the slot just killed: nothing live above, only the kill counts.
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.y = 105;
  UpdateAndDraw();
  EXPECT_EQ(Enemies[26].alive, 0);
  EXPECT_EQ(EnemyFormation.liveCount, 45);
  EXPECT_EQ(Enemies[18].exploding, 1) << "the exploding slot above is left alone";

  // Row 5, column 2 at (46, 140): the live enemy above it goes with it.
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 50;
  PlayerShip.shot.y = 145;
  UpdateAndDraw();
  EXPECT_EQ(Enemies[42].alive, 0);
  EXPECT_EQ(Enemies[34].alive, 0);
  EXPECT_EQ(EnemyFormation.liveCount, 43);
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.y = 145;  // row 5, column 2 again, now empty: nothing
  UpdateAndDraw();
  EXPECT_EQ(PlayerShip.shot.inFlight, 1);
  // A kill in the top row has nothing above it.
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 45;
  UpdateAndDraw();
  EXPECT_EQ(Enemies[0].alive, 0);
  EXPECT_EQ(EnemyFormation.liveCount, 42);
}

TEST_F(FormationTest, WithoutChainKillTheEnemyAboveStays) {
  QuietGame();
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 50;
  PlayerShip.shot.y = 85;
  UpdateAndDraw();
  EXPECT_EQ(Enemies[18].alive, 0);
  EXPECT_EQ(Enemies[10].alive, 1);
  EXPECT_EQ(EnemyFormation.liveCount, 47);
}

TEST_F(FormationTest, FewerThanTenEnemiesSpeedTheBlockUp) {
  QuietGame();
  KeepOnly({0, 1, 2, 16, 17, 18, 19, 20, 21, 22, 23});
  ASSERT_EQ(EnemyFormation.liveCount, 11);
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5 + 23 * 7;
  PlayerShip.shot.y = 85;  // row 2, column 7
  UpdateAndDraw();
  EXPECT_EQ(EnemyFormation.liveCount, 10);
  EXPECT_EQ(EnemyFormation.spedUp, 0) << "ten left is not yet fewer than ten";
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 85;  // row 2, column 0
  UpdateAndDraw();
  EXPECT_EQ(EnemyFormation.liveCount, 9);
  EXPECT_EQ(EnemyFormation.spedUp, 1);
  const int x = EnemyFormation.x;
  MoveFormation();
  EXPECT_EQ(EnemyFormation.x, x + 2);
}

TEST_F(FormationTest, EnemiesDecideEveryTenFramesAndHoldOneShotAtATime) {
  QuietGame();
  Play.enemyFireChance = 501;  // every decision fires
  KeepOnly({41});             // row 5, column 1 at (23, 140)
  Enemy& e = Enemies[41];
  e.fireTimer = 0;
  for (int frame = 0; frame < 9; ++frame) EnemyTryFire(e);
  EXPECT_EQ(e.shot.inFlight, 0);
  EnemyTryFire(e);
  EXPECT_EQ(e.fireTimer, 0);
  ASSERT_EQ(e.shot.inFlight, 1);
  // Weapon2.bmp is 8 high: 140 + 18 + 8.
  EXPECT_EQ(e.shot.x, 23);
  EXPECT_EQ(e.shot.y, 166);
  e.shot.y = 200;
  for (int frame = 0; frame < 10; ++frame) EnemyTryFire(e);
  EXPECT_EQ(e.shot.y, 200) << "a flying shot is not fired again";
  EXPECT_TRUE(sound.played.empty()) << "enemies fire silently";
  // An empty slot neither counts nor fires.
  Enemy& empty = Enemies[40];
  const int32_t timer = empty.fireTimer;
  for (int frame = 0; frame < 20; ++frame) EnemyTryFire(empty);
  EXPECT_EQ(empty.fireTimer, timer);
  EXPECT_EQ(empty.shot.inFlight, 0);
}

TEST_F(FormationTest, AChanceOfZeroNeverFires) {
  QuietGame();
  for (int frame = 0; frame < 300; ++frame) {
    host.now += 50;
    StepFrame();
  }
  for (const Enemy& e : Enemies) EXPECT_EQ(e.shot.inFlight, 0);
}

TEST_F(FormationTest, EnemyShotsFallAndAreDrawnOnlyWhileTheirEnemyLives) {
  QuietGame();
  HideStars();
  Enemy& e = Enemies[41];
  e.shot.inFlight = 1;
  e.shot.x = 30;
  e.shot.y = 160;
  UpdateAndDraw();
  EXPECT_EQ(e.shot.y, 166);
  EXPECT_EQ(ScreenPixel(31, 170), Colour(kEnemyShot));
  e.alive = 0;
  UpdateAndDraw();
  EXPECT_EQ(e.shot.y, 172);
  EXPECT_EQ(ScreenPixel(31, 176), Colour(kInGame));
}
