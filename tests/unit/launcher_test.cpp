// The gift launcher: its start, crossing, hits, the falling gift, catches and effects.
#include <gtest/gtest.h>

#include <set>

#include "game/game_loop.h"
#include "tests/support/play_fixture.h"

using LauncherTest = PlayTest;

namespace {

// A gift of the given kind falling with its centre just above the ship's top row.
void DropGiftOnShip(int16_t kind) {
  Launcher.falling = 1;
  Launcher.kind = kind;
  Launcher.x = static_cast<int16_t>(PlayerShip.x + 4);
  Launcher.y = static_cast<int16_t>(PlayerShip.y - 6);  // centre on the ship's top row
}

}  // namespace

TEST_F(LauncherTest, StartsOnlyWhileIdleAndNoEffectRuns) {
  QuietGame();
  Play.launchChance = 501;  // every draw starts it
  Launcher.effectActive = 1;
  TryStartLauncher(Launcher);
  EXPECT_EQ(Launcher.movingRight, 0);
  Launcher.effectActive = 0;
  Launcher.falling = 1;
  TryStartLauncher(Launcher);
  EXPECT_EQ(Launcher.movingRight, 0);
  Launcher.falling = 0;
  TryStartLauncher(Launcher);
  EXPECT_EQ(Launcher.movingRight, 1);

  Play.launchChance = 0;  // never
  Launcher.movingRight = 0;
  for (int frame = 0; frame < 500; ++frame) {
    host.now += 50;
    TryStartLauncher(Launcher);
  }
  EXPECT_EQ(Launcher.movingRight, 0);
}

TEST_F(LauncherTest, StartsNowAndThenAtTheUsualChance) {
  QuietGame();
  Play.launchChance = 10;
  int starts = 0;
  for (int frame = 0; frame < 20000; ++frame) {
    host.now += 50;
    TryStartLauncher(Launcher);
    starts += Launcher.movingRight;
    Launcher.movingRight = 0;
  }
  // 9 in 500 per frame: about 360 starts.
  EXPECT_GT(starts, 250);
  EXPECT_LT(starts, 480);
}

TEST_F(LauncherTest, CrossesIn211FramesAndAnimatesTwoFrames) {
  QuietGame();
  HideStars();
  SDL_Surface* strip = Images[kGiftLauncher];
  FillRect(strip, 100, 0, 50, 16, Rgb565(0, 255, 0));   // frame 2
  FillRect(strip, 150, 0, 50, 16, Rgb565(0, 0, 255));   // frame 3
  Launcher.movingRight = 1;
  std::vector<uint32_t> shown;
  for (int frame = 0; frame < 3; ++frame) {
    DrawLauncher(Launcher);
    shown.push_back(ScreenPixel(Launcher.x + 1, 16));
  }
  const uint32_t green = ReadPixel(100, 0, strip);
  const uint32_t blue = ReadPixel(150, 0, strip);
  EXPECT_EQ(shown, (std::vector<uint32_t>{green, blue, green}));

  int frames = 0;
  while (Launcher.movingRight && frames < 1000) {
    UpdateLauncher(Launcher);
    ++frames;
  }
  EXPECT_EQ(frames, 211);
  EXPECT_EQ(Launcher.x, 0);
  EXPECT_EQ(Launcher.y, 15);
}

TEST_F(LauncherTest, IsHitOnlyWhileCrossingAndWithinItsFrame) {
  QuietGame();
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 20;
  HitLauncher(Launcher);  // idle at (0, 15): the shot passes
  EXPECT_EQ(PlayerShip.shot.inFlight, 1);
  EXPECT_EQ(Launcher.falling, 0);

  Launcher.movingRight = 1;
  Launcher.x = 100;
  PlayerShip.shot.x = 150;  // one past the 50-pixel frame
  HitLauncher(Launcher);
  PlayerShip.shot.x = 120;
  PlayerShip.shot.y = 31;   // one below the 16-pixel launcher
  HitLauncher(Launcher);
  EXPECT_EQ(PlayerShip.shot.inFlight, 1);
  EXPECT_TRUE(sound.played.empty());

  PlayerShip.shot.x = 149;
  PlayerShip.shot.y = 30;
  HitLauncher(Launcher);
  EXPECT_EQ(PlayerShip.shot.inFlight, 0);
  EXPECT_EQ(Launcher.falling, 1);
  EXPECT_EQ(Launcher.movingRight, 0);
  EXPECT_EQ(Launcher.x, 100);  // the gift starts at the launcher's corner
  EXPECT_EQ(Launcher.y, 15);
  EXPECT_NE(Launcher.kind, 1);
  EXPECT_EQ(Played(2), 1);
}

TEST_F(LauncherTest, AFallingGiftHitAgainRedrawsItsKindAndPlaysAgain) {
  QuietGame();
  Launcher.falling = 1;
  Launcher.x = 60;
  Launcher.y = 100;
  Launcher.kind = 1;  // a value no draw leaves behind
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 72;  // just right of the 12-pixel gift
  PlayerShip.shot.y = 105;
  HitLauncher(Launcher);
  EXPECT_EQ(Launcher.kind, 1);
  EXPECT_EQ(PlayerShip.shot.inFlight, 1);
  PlayerShip.shot.x = 71;
  HitLauncher(Launcher);
  EXPECT_NE(Launcher.kind, 1);
  EXPECT_EQ(Launcher.falling, 1);
  EXPECT_EQ(Launcher.x, 60);
  EXPECT_EQ(Launcher.y, 100);
  PlayerShip.shot.inFlight = 1;
  HitLauncher(Launcher);
  EXPECT_EQ(Played(2), 2);
}

TEST_F(LauncherTest, KindOneIsNeverDrawnAndEveryOtherKindIs) {
  QuietGame();
  std::set<int> kinds;
  int reverse = 0;
  const int draws = 3000;
  for (int i = 0; i < draws; ++i) {
    host.now += 7;
    Launcher.movingRight = 1;
    Launcher.falling = 0;
    Launcher.x = 0;
    Launcher.y = 15;
    PlayerShip.shot.inFlight = 1;
    PlayerShip.shot.x = 10;
    PlayerShip.shot.y = 20;
    HitLauncher(Launcher);
    kinds.insert(Launcher.kind);
    reverse += Launcher.kind == Reverse;
  }
  EXPECT_EQ(kinds, (std::set<int>{Reverse, ExtraLife, ShipSpeed, ChainKill}));
  // Reverse takes the draws of 0 and 1: about 2 in 5.
  EXPECT_GT(reverse, draws * 3 / 10);
  EXPECT_LT(reverse, draws * 5 / 10);
}

TEST_F(LauncherTest, ACatchLeavesTheLauncherWaitingAtRow18) {
  QuietGame();
  DropGiftOnShip(ChainKill);
  UpdateLauncher(Launcher);
  EXPECT_EQ(Launcher.falling, 0);
  EXPECT_EQ(Launcher.x, 0);
  EXPECT_EQ(Launcher.y, 18);
  EXPECT_EQ(Launcher.effectActive, 1);
  EXPECT_EQ(Launcher.chainOn, 1);
  EXPECT_EQ(Played(3), 1);
}

TEST_F(LauncherTest, AGiftMissingTheShipIsLostBelowTheScreen) {
  QuietGame();
  Launcher.falling = 1;
  Launcher.kind = ExtraLife;
  Launcher.x = 0;  // the ship stands at 90..119
  Launcher.y = 300;
  UpdateLauncher(Launcher);
  EXPECT_EQ(Launcher.y, 303);  // bottom at 315
  UpdateLauncher(Launcher);
  EXPECT_EQ(Launcher.y, 306);  // bottom at 318
  UpdateLauncher(Launcher);  // bottom at 321: gone
  EXPECT_EQ(Launcher.falling, 0);
  EXPECT_EQ(Launcher.y, 15);
  EXPECT_EQ(Launcher.x, 0);
  EXPECT_EQ(Launcher.falling, 0);
  EXPECT_EQ(Launcher.effectActive, 0);
  EXPECT_EQ(PlayerShip.lives, 3);
  EXPECT_TRUE(sound.played.empty());
}

struct EffectCase {
  int16_t kind;
  const char* name;
};

class LauncherEffectTest : public PlayTest, public ::testing::WithParamInterface<EffectCase> {};

TEST_P(LauncherEffectTest, StartsAtTheCatchAndEndsAfter100Frames) {
  QuietGame();
  const int16_t kind = GetParam().kind;
  DropGiftOnShip(kind);
  UpdateLauncher(Launcher);  // the catch frame is the effect's first
  auto expectActing = [&](bool acting) {
    EXPECT_EQ(Launcher.effectActive, acting ? 1 : 0);
    EXPECT_EQ(Launcher.reverseOn, acting && kind == Reverse ? 1 : 0);
    EXPECT_EQ(Launcher.speedOn, acting && kind == ShipSpeed ? 1 : 0);
    EXPECT_EQ(Launcher.chainOn, acting && kind == ChainKill ? 1 : 0);
    EXPECT_EQ(PlayerShip.speed, acting && kind == ShipSpeed ? 6 : 4);
    EXPECT_EQ(PlayerShip.lives, kind == ExtraLife ? 4 : 3);  // the life stays
  };
  expectActing(true);
  Play.launchChance = 501;
  for (int frame = 1; frame < 100; ++frame) {
    UpdateLauncher(Launcher);
    TryStartLauncher(Launcher);
  }
  expectActing(true);
  EXPECT_EQ(Launcher.movingRight, 0) << "no launch while an effect runs";
  UpdateLauncher(Launcher);
  expectActing(false);
  EXPECT_EQ(Launcher.effectTimer, 0);
  TryStartLauncher(Launcher);
  EXPECT_EQ(Launcher.movingRight, 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, LauncherEffectTest,
                         ::testing::Values(EffectCase{Reverse, "Reverse"}, EffectCase{ExtraLife, "ExtraLife"},
                                           EffectCase{ShipSpeed, "ShipSpeed"}, EffectCase{ChainKill, "ChainKill"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LauncherTest, TheSpeedGiftMovesTheShipSixPixelsAFrame) {
  QuietGame();
  DropGiftOnShip(ShipSpeed);
  StepFrame();
  EXPECT_EQ(PlayerShip.speed, 6);
  const int16_t x = PlayerShip.x;
  PlayerShip.movingLeft = 1;
  StepFrame();
  EXPECT_EQ(PlayerShip.x, x - 6);
  // A new level takes the extra speed back at once.
  StartLevel(3);
  EXPECT_EQ(PlayerShip.speed, 4);
  EXPECT_EQ(Launcher.effectActive, 0);
}

TEST_F(LauncherTest, TheShotHitsTheLauncherBeforeAnyEnemy) {
  QuietGame();
  Play.showBanner = 0;
  // The launcher flies over rows 15 to 30, above the enemies; move the block up into it.
  EnemyFormation.y = 16;
  Launcher.movingRight = 1;
  Launcher.x = 0;
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 20;
  UpdateAndDraw();
  EXPECT_EQ(Launcher.falling, 1);
  EXPECT_EQ(Enemies[0].alive, 1);
  EXPECT_EQ(PlayerShip.score, 0);
}
