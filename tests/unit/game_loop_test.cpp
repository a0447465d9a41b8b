// Gameplay rules that the golden replays meet too rarely to pin: the level table, the chance
// thresholds, the gift's hit box, the chain kill's count, and play without heap allocation.
#include <algorithm>

#include "tests/support/play_fixture.h"

// Every heap allocation of the process is counted while `allocations` is not negative; under
// the address sanitizer, which owns the allocator, nothing is.
#if defined(__SANITIZE_ADDRESS__)
#define COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef COUNT_ALLOCATIONS
#define COUNT_ALLOCATIONS 1
static long allocations = -1;
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* p, size_t size);
extern "C" void* malloc(size_t size) {
  allocations += allocations >= 0;
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  allocations += allocations >= 0;
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* p, size_t size) {
  allocations += allocations >= 0;
  return __libc_realloc(p, size);
}
#else
static long allocations = -1;
#endif

using RulesTest = PlayTest;

// Frames of play with every kind of event (moves, shots, hits, gifts, ship hits, sounds)
// allocate nothing once each picture has been mapped to the screen by its first blit and
// the screen has been shown a few times.
TEST_F(RulesTest, PlayAllocatesNothing) {
  if (!COUNT_ALLOCATIONS) GTEST_SKIP() << "the address sanitizer owns the allocator";
  Settings.difficulty = 2;
  StartNewGame();
  Play.showBanner = 0;
  Play.launchChance = 300;
  for (SDL_Surface* image : Images) BlitImage(image, 0, 0);
  PlayerShip.movingLeft = 1;
  for (int frame = 0; frame < 5; ++frame) StepFrame();
  allocations = 0;
  for (int frame = 0; frame < 300; ++frame) {
    if (frame % 40 == 20) std::swap(PlayerShip.movingLeft, PlayerShip.movingRight);
    FireShot(PlayerShip);
    StepFrame();
    play.now += 50;
  }
  const long counted = allocations;
  allocations = -1;
  EXPECT_EQ(counted, 0);
  EXPECT_GT(play.played[1], 3);  // enemies and the ship were hit
}

// Each level's enemy count as listed beside its layout and the points its enemies are worth
// (the sum of their strengths); difficulties -1 to 3 in turn set the fire chance (7, 20, 30)
// or keep the one before (30 at program start).
TEST_F(RulesTest, EachLevelAndDifficultySetsUpItsFormation) {
  const int enemies[kLevelCount][2] = {{48, 58}, {48, 60}, {48, 61}, {48, 62}, {48, 66}, {48, 68}, {48, 70},
                                       {48, 68}, {42, 64}, {42, 66}, {42, 66}, {42, 68}, {42, 74}, {42, 76},
                                       {42, 76}, {42, 78}, {42, 80}, {42, 82}, {42, 76}, {42, 80}, {42, 78},
                                       {42, 78}, {42, 80}, {42, 84}, {42, 86}};
  const int chance[] = {30, 7, 20, 30, 30};
  for (int level = 0; level < kLevelCount; ++level) {
    Settings.difficulty = int16_t(level % 5 - 1);
    StartLevel(int16_t(level));
    int points = 0;
    for (const Enemy& e : Enemies) points += e.alive * (e.hits + 1);
    EXPECT_EQ(EnemyFormation.liveCount, enemies[level][0]) << level;
    EXPECT_EQ(points, enemies[level][1]) << level;
    EXPECT_EQ(Play.enemyFireChance, chance[level % 5]) << level;
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

// The frame whose pass removes the last enemy and then takes the last life ends the game.
TEST_F(RulesTest, GameOverWinsOverLevelClearedInOneFrame) {
  StartNewGame();
  Play.showBanner = 0;
  KeepOnly({40});  // at (1, 140) in the first frame
  PlayerShip.lives = 1;
  PlayerShip.x = 70;  // between two bricks
  PlayerShip.shot = Shot{Images[kShipShot], 9, 5, 165, 234, 1};
  Enemies[40].shot = Shot{Images[kEnemyShot], -6, 80, 222, 234, 1};
  EXPECT_EQ(RunGameLoop(), GameOver);
  EXPECT_EQ(PlayerShip.score, 1);
  EXPECT_EQ(Play.levelDone + Play.gameOver, 0);
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
    while (Launcher.falling && frames < 100) UpdateLauncher(Launcher), ++frames;
    EXPECT_EQ(frames, x == 113 ? 1 : 27) << x;
    EXPECT_EQ(PlayerShip.lives, 4) << x;
  }
  EXPECT_EQ(Launcher.x, 0);
  EXPECT_EQ(Launcher.y, 15);
}
