// Bricks wearing cell by cell, and the falling, drifting stars.
#include <gtest/gtest.h>

#include "game/game_loop.h"
#include "tests/support/play_fixture.h"

using BricksStarsTest = PlayTest;

TEST_F(BricksStarsTest, ACellWearsThenBecomesAHoleShotsPassThrough) {
  Brick brick;
  brick.x = 9;
  brick.y = 200;
  EXPECT_EQ(HitBrick(brick, 10, 201), 1);
  EXPECT_EQ(brick.damage[0], 1);
  EXPECT_EQ(HitBrick(brick, 23, 214), 1);  // the same cell's far corner
  EXPECT_EQ(brick.damage[0], 2);
  EXPECT_EQ(HitBrick(brick, 10, 201), 0);
  EXPECT_EQ(brick.damage[0], 2);
  for (int i = 1; i < 8; ++i) EXPECT_EQ(brick.damage[i], 0);
}

TEST_F(BricksStarsTest, CellsLieInTwoRowsOfFour) {
  Brick brick;
  brick.x = 89;
  brick.y = 200;
  // One point per cell, each on its cell's top-left pixel.
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(HitBrick(brick, 89 + 15 * (i % 4), 200 + 15 * (i / 4)), 1) << "cell " << i;
    EXPECT_EQ(brick.damage[i], 1) << "cell " << i;
  }
  // Right of and below the brick, and just left of and above it: nothing.
  EXPECT_EQ(HitBrick(brick, 149, 210), 0);
  EXPECT_EQ(HitBrick(brick, 100, 230), 0);
  EXPECT_EQ(HitBrick(brick, 88, 210), 0);
  EXPECT_EQ(HitBrick(brick, 100, 199), 0);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(brick.damage[i], 1);
}

TEST_F(BricksStarsTest, DrawsWholeWornAndGoneCells) {
  QuietGame();
  HideStars();
  Bricks[0].damage[1] = 1;
  Bricks[0].damage[2] = 2;
  UpdateAndDraw();
  EXPECT_EQ(ScreenPixel(9 + 5, 205), Colour(kBrick));
  EXPECT_EQ(ScreenPixel(9 + 20, 205), Colour(kBrickWorn));
  EXPECT_EQ(ScreenPixel(9 + 35, 205), Colour(kInGame));
  // An invisible brick is not drawn but still stops the ship's shot.
  Bricks[2].visible = 0;
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 170;
  PlayerShip.shot.y = 220;
  UpdateAndDraw();
  EXPECT_EQ(ScreenPixel(175, 205), Colour(kInGame));
  EXPECT_EQ(PlayerShip.shot.inFlight, 0);
  EXPECT_EQ(Bricks[2].damage[4], 1);
}

TEST_F(BricksStarsTest, BricksStopEnemyShotsBeforeTheyReachTheShip) {
  QuietGame();
  // An enemy shot about to cross a brick: it wears the cell and stops.
  Enemy& e = Enemies[40];
  e.shot.inFlight = 1;
  e.shot.x = 100;
  e.shot.y = 196;
  UpdateAndDraw();
  EXPECT_EQ(e.shot.inFlight, 0);
  EXPECT_EQ(Bricks[1].damage[0], 1);
  // Through a hole it goes on, and a hidden brick lets it pass.
  Bricks[1].damage[0] = 2;
  Bricks[1].damage[4] = 2;
  e.shot.inFlight = 1;
  e.shot.y = 196;
  UpdateAndDraw();
  EXPECT_EQ(e.shot.inFlight, 1);
  Bricks[0].visible = 0;
  Enemies[41].shot.inFlight = 1;
  Enemies[41].shot.x = 20;
  Enemies[41].shot.y = 196;
  UpdateAndDraw();
  EXPECT_EQ(Enemies[41].shot.inFlight, 1);
  EXPECT_EQ(Bricks[0].damage[0], 0);
}

TEST_F(BricksStarsTest, StarsWrapAt230LeftAndPast310Right) {
  PlayerShip = Ship{};
  Star star;
  star.driftSpeed = 2;
  star.fallSpeed = 1;
  star.x = 1;
  PlayerShip.movingRight = 1;
  MoveStar(star);
  EXPECT_EQ(star.x, 230);
  MoveStar(star);
  EXPECT_EQ(star.x, 228);
  EXPECT_EQ(star.y, 2);

  PlayerShip.movingRight = 0;
  PlayerShip.movingLeft = 1;
  star.x = 306;  // out of sight beyond the right edge
  MoveStar(star);
  EXPECT_EQ(star.x, 308);
  MoveStar(star);
  EXPECT_EQ(star.x, 310);  // not past 310 yet
  MoveStar(star);
  EXPECT_EQ(star.x, 0);

  // A star at 0 moving right-to-left by 1 stays at 0; one more frame wraps it.
  PlayerShip.movingLeft = 0;
  PlayerShip.movingRight = 1;
  star.driftSpeed = 1;
  star.x = 1;
  MoveStar(star);
  EXPECT_EQ(star.x, 0);
  MoveStar(star);
  EXPECT_EQ(star.x, 230);
}

TEST_F(BricksStarsTest, AStandingShipLeavesStarsFallingStraightDown) {
  PlayerShip = Ship{};
  Star star;
  star.x = 50;
  star.y = 10;
  star.fallSpeed = 7;
  star.driftSpeed = 2;
  for (int i = 0; i < 10; ++i) MoveStar(star);
  EXPECT_EQ(star.x, 50);
  EXPECT_EQ(star.y, 80);
}

TEST_F(BricksStarsTest, AStarPastTheBottomComesBackAtTheTop) {
  PlayerShip = Ship{};
  host.now = 4321;
  Star star;
  star.x = 50;
  star.y = 318;
  star.fallSpeed = 2;
  MoveStar(star);
  EXPECT_EQ(star.y, 320);  // still on its last row
  EXPECT_EQ(star.x, 50);
  for (int i = 0; i < 40; ++i) {
    host.now += 13;
    star.y = 320;
    star.fallSpeed = 1;
    MoveStar(star);
    EXPECT_EQ(star.y, 0);
    EXPECT_GE(star.x, 1);
    EXPECT_LE(star.x, 239);
    EXPECT_GE(star.fallSpeed, 1);
    EXPECT_LE(star.fallSpeed, 7);
    EXPECT_GE(star.driftSpeed, 1);
    EXPECT_LE(star.driftSpeed, 2);
    EXPECT_GE(star.imageIndex, 0);
    EXPECT_LE(star.imageIndex, 4);
  }
}

TEST_F(BricksStarsTest, StarsAreDrawnUnderEverythingElse) {
  QuietGame();
  HideStars();
  Stars[0].x = 100;  // under the ship at (90, 234)
  Stars[0].y = 240;
  Stars[0].fallSpeed = 1;
  Stars[1].x = 30;  // in the open
  Stars[1].y = 180;
  Stars[1].fallSpeed = 1;
  Stars[1].imageIndex = 2;
  UpdateAndDraw();
  EXPECT_EQ(ScreenPixel(100, 241), Colour(kPlayer));
  EXPECT_EQ(ScreenPixel(30, 181), Colour(kStar3));
}
