// The play loop on the virtual clock: keys and taps, the frame step, the drawing pass with its
// hits, the ship's explosion, the sounds, the end of a level and of a game, and a frame's
// freedom from heap allocation.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "game/game_loop.h"
#include "game/sounds.h"
#include "platform/paths.h"
#include "tests/support/play_fixture.h"

// ---- Counting every heap allocation of the process while a flag is up ----
// Under AddressSanitizer the sanitizer owns malloc and new, so nothing is counted there.

#if defined(__SANITIZE_ADDRESS__)
#define COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef COUNT_ALLOCATIONS
#define COUNT_ALLOCATIONS 1
#endif

namespace {
std::atomic<bool> countingAllocations{false};
std::atomic<long> allocations{0};
[[maybe_unused]] void CountAllocation() {
  if (countingAllocations.load(std::memory_order_relaxed)) allocations.fetch_add(1);
}
}  // namespace

#if COUNT_ALLOCATIONS
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* p, size_t size);
extern "C" void __libc_free(void* p);

extern "C" void* malloc(size_t size) {
  CountAllocation();
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  CountAllocation();
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* p, size_t size) {
  CountAllocation();
  return __libc_realloc(p, size);
}
extern "C" void free(void* p) { __libc_free(p); }

void* operator new(size_t size) {
  CountAllocation();
  if (void* p = __libc_malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { __libc_free(p); }
void operator delete[](void* p) noexcept { __libc_free(p); }
void operator delete(void* p, size_t) noexcept { __libc_free(p); }
void operator delete[](void* p, size_t) noexcept { __libc_free(p); }
#endif

// ---- The play loop ----

class GameLoopTest : public PlayTest {
 protected:
  // Puts the script cursor at the virtual time of frame n of a loop entered at time 0 with
  // no banner: frame n polls its event at 50 n ms.
  void AtFrame(int n) { host.cursor = 50u * static_cast<uint32_t>(n); }
};

TEST_F(GameLoopTest, LeftAndRightHeldAtAKeyDownMoveRight) {
  QuietGame();
  AtFrame(0);
  host.KeyDown(SDLK_LEFT);
  AtFrame(1);
  host.KeyDown(SDLK_RIGHT);
  AtFrame(5);
  host.Quit();
  EXPECT_EQ(RunGameLoop(), Quit);
  // 90 -> 86 (left), then right in frames 1 to 5, the Quit frame's step included.
  EXPECT_EQ(PlayerShip.x, 106);
  EXPECT_EQ(PlayerShip.movingRight, 1);
  EXPECT_EQ(PlayerShip.movingLeft, 0);
  EXPECT_EQ(EnemyFormation.x, 6);
}

TEST_F(GameLoopTest, AHeldFireKeyRefiresUntilANewerEvent) {
  QuietGame();
  KeepOnly({});  // an empty sky: the shot always leaves the top
  PlayerShip.x = 70;  // the shot rises between two bricks
  AtFrame(0);
  host.KeyDown(SDLK_UP);
  AtFrame(60);
  host.KeyUp(SDLK_a);  // any newer event ends the repeat; the up key stays held
  AtFrame(90);
  host.KeyDown(SDLK_a);  // any key-down fires again while up is held
  AtFrame(95);
  host.Quit();
  EXPECT_EQ(RunGameLoop(), Quit);
  // A shot needs 27 frames to leave the top: fired in frames 0, 27, 54, then 90.
  EXPECT_EQ(Played(0), 4);
  EXPECT_EQ(PlayerShip.shot.inFlight, 1);
  EXPECT_EQ(PlayerShip.shot.y, 234 - 9 * 6);
}

TEST_F(GameLoopTest, LeftControlFiresToo) {
  QuietGame();
  PlayerShip.x = 70;  // the shot rises between two bricks
  AtFrame(0);
  host.KeyDown(SDLK_LCTRL);
  AtFrame(1);
  host.Quit();
  EXPECT_EQ(RunGameLoop(), Quit);
  EXPECT_EQ(Played(0), 1);
  EXPECT_EQ(PlayerShip.shot.inFlight, 1);
}

TEST_F(GameLoopTest, AKeyUpOfTheOtherDirectionStopsTheShipUntilTheNextKeyDown) {
  QuietGame();
  AtFrame(0);
  host.KeyDown(SDLK_LEFT);
  AtFrame(1);
  host.KeyDown(SDLK_RIGHT);
  AtFrame(2);
  host.KeyUp(SDLK_RIGHT);  // left is still held, but a key-up never sets a direction
  AtFrame(4);
  host.KeyDown(SDLK_a);
  AtFrame(6);
  host.Quit();
  EXPECT_EQ(RunGameLoop(), Quit);
  // 86, 90, 90, 90, then left again: 86, 82, 78.
  EXPECT_EQ(PlayerShip.x, 78);
  EXPECT_EQ(PlayerShip.movingLeft, 1);
}

TEST_F(GameLoopTest, OnlyATapInTheMenuButtonOpensTheMenuAfterTheFrameStep) {
  QuietGame();
  AtFrame(1);
  host.Press(176, 280);  // just left of the button
  AtFrame(2);
  host.Press(200, 292);  // just below it
  AtFrame(3);
  host.Press(177, 273);  // its top-left pixel
  EXPECT_EQ(RunGameLoop(), OpenMenu);
  EXPECT_EQ(EnemyFormation.x, 4);  // frames 0 to 3 all stepped
  EXPECT_EQ(host.now, 200u);
  // Resuming carries on with the game as it stood.
  host.cursor = host.now + 100;
  host.Quit();
  EXPECT_EQ(RunGameLoop(), Quit);
  EXPECT_EQ(EnemyFormation.x, 4 + 3);
}

TEST_F(GameLoopTest, QuitEndsTheLoopAfterTheFrameStep) {
  QuietGame();
  AtFrame(2);
  host.Quit();
  EXPECT_EQ(RunGameLoop(), Quit);
  EXPECT_EQ(EnemyFormation.x, 3);
}

TEST_F(GameLoopTest, TheBannerShowsOnceCentredForASecond) {
  QuietGame();
  HideStars();
  Play.showBanner = 1;
  UpdateAndDraw();
  EXPECT_EQ(host.now, 1000u);
  EXPECT_EQ(Play.showBanner, 0);
  // start.bmp is 120 x 40 here: at (60, 140).
  EXPECT_EQ(ScreenPixel(60, 140), Colour(kLevelBanner));
  EXPECT_EQ(ScreenPixel(179, 179), Colour(kLevelBanner));
  EXPECT_NE(ScreenPixel(180, 179), Colour(kLevelBanner));
  EXPECT_NE(ScreenPixel(60, 139), Colour(kLevelBanner));
  UpdateAndDraw();
  EXPECT_EQ(host.now, 1000u);
  EXPECT_NE(ScreenPixel(60, 140), Colour(kLevelBanner));
}

TEST_F(GameLoopTest, TheLoopDrawsTheLevelBeforeTheFirstInput) {
  QuietGame();
  Play.showBanner = 1;
  host.Quit();  // waiting at time 0: taken by the entry poll, handled by the first frame
  EXPECT_EQ(RunGameLoop(), Quit);
  EXPECT_EQ(host.now, 1000u + 50u);
  EXPECT_EQ(EnemyFormation.x, 1);
}

TEST_F(GameLoopTest, TheNumbersShowLevelScoreAndLives) {
  QuietGame();
  HideStars();
  const uint32_t ink = Rgb565(255, 255, 255);
  UpdateAndDraw();
  // The synthetic font's glyphs are 5 wide with ink on rows 2 to 6.
  EXPECT_EQ(ScreenPixel(130, 303), ink);                  // level "1"
  EXPECT_EQ(ScreenPixel(130, 279), ink);                  // score "0"
  EXPECT_EQ(ScreenPixel(53, 277), ink);                   // lives "3"
  EXPECT_NE(ScreenPixel(128 + 5 * 4 + 2, 279), ink);      // a one-digit score
  PlayerShip.score = 12345;
  CurrentLevel = 9;  // shown as 10
  UpdateAndDraw();
  EXPECT_EQ(ScreenPixel(128 + 5 * 4 + 2, 279), ink);      // five digits
  EXPECT_EQ(ScreenPixel(128 + 5 + 2, 303), ink);          // two digits
  EXPECT_NE(ScreenPixel(128 + 10 + 2, 303), ink);
  EXPECT_NE(ScreenPixel(51 + 5 + 2, 277), ink);           // lives still one digit
}

TEST_F(GameLoopTest, AShipHitRemovesEveryEnemyShotAndTheFrameGoesOn) {
  QuietGame();
  HideStars();
  EnemyFormation.x = 3;
  // Two shots about to reach the ship (90..119, 234..263) and one far away.
  Enemies[40].shot.inFlight = 1;
  Enemies[40].shot.x = 100;
  Enemies[40].shot.y = 230;
  Enemies[41].shot.inFlight = 1;
  Enemies[41].shot.x = 101;
  Enemies[41].shot.y = 230;
  Enemies[47].shot.inFlight = 1;
  Enemies[47].shot.x = 5;
  Enemies[47].shot.y = 100;
  Enemies[7].shot.inFlight = 1;  // moved before the hit
  Enemies[7].shot.x = 5;
  Enemies[7].shot.y = 60;
  UpdateAndDraw();
  EXPECT_EQ(PlayerShip.lives, 2);
  EXPECT_EQ(Play.gameOver, 0);
  EXPECT_EQ(host.now, 250u);  // five explosion frames of 50 ms
  EXPECT_EQ(Played(1), 1);
  for (const Enemy& e : Enemies) EXPECT_EQ(e.shot.inFlight, 0);
  EXPECT_EQ(Enemies[7].shot.y, 66);
  EXPECT_EQ(Enemies[41].shot.y, 230);  // never moved: it was gone before its turn
  EXPECT_EQ(Enemies[47].x, 161 + 3);   // the pass went on after the hit
  EXPECT_EQ(ScreenPixel(95, 240), Colour(kShipExplosion));
  EXPECT_EQ(PlayerShip.x, 90);

  PlayerShip.lives = 1;
  Enemies[45].shot.inFlight = 1;
  Enemies[45].shot.x = 119;
  Enemies[45].shot.y = 257;  // moves to 263, the ship's last row
  UpdateAndDraw();
  EXPECT_EQ(PlayerShip.lives, 0);
  EXPECT_EQ(Play.gameOver, 1);
}

TEST_F(GameLoopTest, AShotBesideTheShipMisses) {
  QuietGame();
  Enemies[40].shot.inFlight = 1;
  Enemies[40].shot.x = 120;  // one right of the ship
  Enemies[40].shot.y = 240;
  Enemies[41].shot.inFlight = 1;
  Enemies[41].shot.x = 89;
  Enemies[41].shot.y = 240;
  UpdateAndDraw();
  EXPECT_EQ(PlayerShip.lives, 3);
  EXPECT_EQ(host.now, 0u);
}

TEST_F(GameLoopTest, TheLastKillEndsTheLevelWhileItsExplosionRuns) {
  QuietGame();
  KeepOnly({40});  // row 5, column 0 at (x, 140)
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 165;  // reaches 156 in frame 0
  EXPECT_EQ(RunGameLoop(), LevelCleared);
  EXPECT_EQ(host.now, 50u);
  EXPECT_EQ(Play.levelDone, 0);
  EXPECT_EQ(EnemyFormation.liveCount, 0);
  EXPECT_EQ(Enemies[40].exploding, 1);
  EXPECT_EQ(PlayerShip.score, 1);
}

TEST_F(GameLoopTest, GameOverWinsOverLevelClearedInTheSameFrame) {
  QuietGame();
  KeepOnly({40});
  PlayerShip.lives = 1;
  PlayerShip.x = 70;  // 70..99: open to shots between two bricks
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 165;
  // The enemy's own shot hits the ship in the frame it dies.
  Enemies[40].shot.inFlight = 1;
  Enemies[40].shot.x = 80;
  Enemies[40].shot.y = 222;  // 228 after the entry pass, 234 in frame 0
  EXPECT_EQ(RunGameLoop(), GameOver);
  EXPECT_EQ(host.now, 300u);
  EXPECT_EQ(PlayerShip.lives, 0);
  EXPECT_EQ(PlayerShip.score, 1);
  EXPECT_EQ(Play.levelDone, 0);
  EXPECT_EQ(Play.gameOver, 0);
}

TEST_F(GameLoopTest, TheFormationLandingEndsTheGame) {
  QuietGame();
  KeepOnly({40});
  EnemyFormation.y = 100;  // row 5 at 200: it drops one row at every turn
  EXPECT_EQ(RunGameLoop(), GameOver);
  // The left turn made with row 5 at 217 (bottom 235) drops the block to 118 and lands it.
  EXPECT_EQ(EnemyFormation.y, 118);
  EXPECT_EQ(EnemyFormation.movingRight, 1);
  EXPECT_EQ(PlayerShip.lives, 3);
  EXPECT_EQ(Play.gameOver, 0);
}

TEST_F(GameLoopTest, PlaySoundIsGatedBySoundOnAndNamesTheDataFile) {
  Settings.soundOn = 0;
  for (int n = 0; n < 4; ++n) PlaySound(n);
  EXPECT_TRUE(sound.played.empty());
  Settings.soundOn = 1;
  for (int n = 0; n < 4; ++n) PlaySound(n);
  ASSERT_EQ(sound.played.size(), 4u);
  for (int n = 0; n < 4; ++n) EXPECT_EQ(sound.played[n], folder + "\\data\\" + std::to_string(n) + ".wav");
  Settings.soundOn = 2;  // any value but 0 plays
  PlaySound(3);
  EXPECT_EQ(sound.played.size(), 5u);
}

TEST_F(GameLoopTest, AFolderTooLongForThePathPlaysNothing) {
  std::memset(ExeDir, 'a', sizeof ExeDir - 1);
  ExeDir[sizeof ExeDir - 1] = '\0';
  PlaySound(1);
  EXPECT_TRUE(sound.played.empty());
}

TEST_F(GameLoopTest, AWholeGameFromTheFirstLevelThroughTheWrapToGameOver) {
  StartNewGame();
  Play.showBanner = 0;
  auto clearWithOneEnemyLeft = [&](int level) {
    CurrentLevel = level;
    StartLevel(static_cast<int16_t>(level));
    KeepOnly({43});  // row 5, column 3: strength 1 in levels 1 and 25
    host.cursor = host.now;
    host.KeyDown(SDLK_UP);  // hold fire and wait
    return RunGameLoop();
  };
  ASSERT_EQ(clearWithOneEnemyLeft(0), LevelCleared);
  EXPECT_EQ(Play.levelDone, 0);
  EXPECT_EQ(PlayerShip.score, 1);
  const int16_t livesAfterFirst = PlayerShip.lives;
  EXPECT_GT(livesAfterFirst, 0);

  // The driver moves on to the next level; score and lives carry over.
  CurrentLevel = 1;
  StartLevel(1);
  EXPECT_TRUE(std::equal(Play.layout, Play.layout + 48, LevelTable[1].begin()));
  EXPECT_EQ(EnemyFormation.liveCount, 48);
  EXPECT_EQ(PlayerShip.score, 1);
  EXPECT_EQ(PlayerShip.lives, livesAfterFirst);

  ASSERT_EQ(clearWithOneEnemyLeft(24), LevelCleared);
  EXPECT_EQ(PlayerShip.score, 2);
  CurrentLevel = (CurrentLevel + 1) % kLevelCount;  // the driver's wrap after the 25th
  StartLevel(static_cast<int16_t>(CurrentLevel));
  EXPECT_EQ(CurrentLevel, 0);
  EXPECT_TRUE(std::equal(Play.layout, Play.layout + 48, LevelTable[0].begin()));
  EXPECT_EQ(PlayerShip.score, 2);

  // The last life against a full, fast-firing formation.
  Play.enemyFireChance = 30;
  PlayerShip.lives = 1;
  host.cursor = host.now;
  host.KeyDown(SDLK_UP);
  ASSERT_EQ(RunGameLoop(), GameOver);
  EXPECT_EQ(Play.gameOver, 0);
  EXPECT_EQ(Play.levelDone, 0);
  EXPECT_EQ(PlayerShip.lives, 0);
  EXPECT_GT(EnemyFormation.liveCount, 0);
}

// A sound output that records nothing on the heap.
class CountingSound final : public SoundOutput {
 public:
  void Play(const char*) override { ++count; }
  int count = 0;
};

TEST_F(GameLoopTest, PlayAllocatesNothing) {
  if (!COUNT_ALLOCATIONS) GTEST_SKIP() << "the address sanitizer owns the allocator";
  CountingSound quiet;
  UseSoundOutput(&quiet);
  Settings.difficulty = 2;
  StartNewGame();
  Play.showBanner = 0;
  Play.launchChance = 300;  // the launcher crosses often
  // The first blit of each picture maps it to the screen once; do that before counting.
  for (SDL_Surface* image : Images) BlitImage(image, 0, 0);
  PlayerShip.movingLeft = 1;
  for (int frame = 0; frame < 5; ++frame) StepFrame();

  allocations = 0;
  countingAllocations = true;
  for (int frame = 0; frame < 200; ++frame) {
    if (frame % 40 == 20) std::swap(PlayerShip.movingLeft, PlayerShip.movingRight);
    FireShot(PlayerShip);
    StepFrame();
    host.now += 50;
  }
  countingAllocations = false;
  EXPECT_EQ(allocations.load(), 0);
  EXPECT_GT(quiet.count, 5);  // the frames did fire, hit and play
  UseSoundOutput(&sound);
}

// The counter itself must see allocations, or the test above proves nothing.
TEST(AllocationCounter, SeesNewAndMalloc) {
  if (!COUNT_ALLOCATIONS) GTEST_SKIP() << "the address sanitizer owns the allocator";
  allocations = 0;
  countingAllocations = true;
  int* p = new int(3);
  void* q = std::malloc(16);
  countingAllocations = false;
  delete p;
  std::free(q);
  EXPECT_EQ(allocations.load(), 2);
}
