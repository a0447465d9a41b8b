// The player's ship: movement limits, its shot, firing and the animation.
#include <gtest/gtest.h>

#include "tests/support/play_fixture.h"

using ShipTest = PlayTest;

TEST_F(ShipTest, StopsAtBothEdgesAtEitherSpeed) {
  StartNewGame();
  for (int16_t speed : {int16_t{4}, int16_t{6}}) {
    PlayerShip.speed = speed;
    PlayerShip.x = 5;
    PlayerShip.movingLeft = 1;
    PlayerShip.movingRight = 0;
    MoveShip(PlayerShip);
    EXPECT_EQ(PlayerShip.x, 5 - speed > 0 ? 5 - speed : 0);
    MoveShip(PlayerShip);
    EXPECT_EQ(PlayerShip.x, 0);
    PlayerShip.x = 207;
    PlayerShip.movingLeft = 0;
    PlayerShip.movingRight = 1;
    MoveShip(PlayerShip);
    EXPECT_EQ(PlayerShip.x, 210);
    MoveShip(PlayerShip);
    EXPECT_EQ(PlayerShip.x, 210);
  }
  // Both flags: left first, then right, so the ship stands.
  PlayerShip.speed = 4;
  PlayerShip.x = 100;
  PlayerShip.movingLeft = 1;
  MoveShip(PlayerShip);
  EXPECT_EQ(PlayerShip.x, 100);
}

TEST_F(ShipTest, FiringCentresTheShotAndPlaysOnlyWhenTheShotIsFree) {
  StartNewGame();
  PlayerShip.x = 50;
  FireShot(PlayerShip);
  // Weapon1.bmp is 3 wide: 15 - 1 + 50.
  EXPECT_EQ(PlayerShip.shot.x, 64);
  EXPECT_EQ(PlayerShip.shot.y, 234);
  EXPECT_EQ(PlayerShip.shot.inFlight, 1);
  ASSERT_EQ(sound.played.size(), 1u);
  EXPECT_EQ(sound.played[0], folder + "\\data\\0.wav");

  MoveShot(PlayerShip.shot);
  EXPECT_EQ(PlayerShip.shot.y, 225);
  PlayerShip.x = 120;
  FireShot(PlayerShip);  // still flying: nothing
  EXPECT_EQ(PlayerShip.shot.x, 64);
  EXPECT_EQ(PlayerShip.shot.y, 225);
  EXPECT_EQ(sound.played.size(), 1u);
}

TEST_F(ShipTest, AShotLeavingTheTopIsFreeAtOnceAndBackOnItsStartRow) {
  Shot shot{nullptr, 9, 10, 9, 234, 1};
  MoveShot(shot);
  EXPECT_EQ(shot.y, 0);  // row 0 is still on the screen
  EXPECT_EQ(shot.inFlight, 1);
  MoveShot(shot);
  EXPECT_EQ(shot.inFlight, 0);
  EXPECT_EQ(shot.y, 234);
  MoveShot(shot);  // not in flight: stays
  EXPECT_EQ(shot.y, 234);
}

TEST_F(ShipTest, AnEnemyShotBelowThePlayFieldIsRetiredWhereItIs) {
  Shot shot{nullptr, -6, 10, 258, 234, 1};
  MoveShot(shot);
  EXPECT_EQ(shot.y, 264);
  EXPECT_EQ(shot.inFlight, 1);
  MoveShot(shot);
  EXPECT_EQ(shot.y, 270);
  EXPECT_EQ(shot.inFlight, 0);
}

TEST_F(ShipTest, DrawingAlternatesTwoFramesAndDrawsTheShotOnlyInFlight) {
  StartNewGame();
  SDL_Surface* strip = Images[kPlayer];
  FillRect(strip, 30, 0, 30, 30, Rgb565(0, 255, 0));  // frame 1 in green
  const uint32_t frame0 = ReadPixel(0, 0, strip);
  const uint32_t frame1 = ReadPixel(30, 0, strip);
  PlayerShip.x = 100;
  std::vector<int> frames;
  for (int i = 0; i < 4; ++i) {
    DrawShip(PlayerShip);
    frames.push_back(PlayerShip.frame);
    EXPECT_EQ(ScreenPixel(110, 240), PlayerShip.frame == 0 ? frame0 : frame1);
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 0, 1, 0}));

  Shot shot{Images[kShipShot], 9, 20, 20, 234, 0};
  DrawShot(shot);
  EXPECT_NE(ScreenPixel(20, 20), Colour(kShipShot));
  shot.inFlight = 1;
  DrawShot(shot);
  EXPECT_EQ(ScreenPixel(20, 20), Colour(kShipShot));
}
