#include "game/game_state.h"

#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/launcher.h"
#include "game/random.h"
#include "game/ship.h"
#include "platform/message_box.h"
#include "resources/images.h"
#include "settings/settings.h"

constexpr int16_t kShipRow = 234;
constexpr int16_t kShipSize = 30;
constexpr int32_t kFormationStartY = 40;
constexpr int16_t kBrickRow = 200;
constexpr int16_t kFirstBrickX = 9;
constexpr int kBrickGap = 50;

// The enemy fire chance of each difficulty.
constexpr int32_t kFireChanceByDifficulty[] = {7, 20, 30};

static int ImageWidth(ImageId id) { return Images[id] ? Images[id]->w : 0; }

void BuildFormation() {
  Play.showBanner = 1;

  Formation& f = EnemyFormation;
  for (int r = 0; r < kFormationRows; ++r) {
    for (int j = 0; j < kFormationColumns; ++j) {
      const int slot = kFormationColumns * r + j;
      Enemy& e = Enemies[slot];
      e.alive = 1;
      e.cell = Play.layout[slot];
      e.target = &PlayerShip;
      e.fireSalt = r * j;
      e.shot.image = Images[kEnemyShot];
      e.shot.inFlight = 0;
      e.frame = 0;
      e.exploding = 0;
      if (e.cell == 0) {
        e.alive = 0;
      } else {
        e.hits = static_cast<int16_t>(e.cell - 1);
        e.frameCount = 4;
        f.liveCount += 1;
      }
      e.bodyImages[0] = Images[kEnemy1];
      e.bodyImages[1] = Images[kEnemy2];
      e.bodyImages[2] = Images[kEnemy3];
      e.explosionImage = Images[kExplosion];
      e.x = static_cast<int16_t>(f.x + kEnemyWidth * j);
      e.y = static_cast<int16_t>(f.y + (kEnemyHeight + 2) * r);
      e.width = kEnemyWidth;
      e.height = kEnemyHeight;
    }
  }

  int16_t brickX = kFirstBrickX;
  for (Brick& brick : Bricks) {
    brick.image = Images[kBrick];
    brick.damagedImage = Images[kBrickWorn];
    brick.y = kBrickRow;
    brick.visible = 1;
    brick.x = brickX;
    brickX = static_cast<int16_t>(brickX + kBrickGap + ImageWidth(kBrickSpacing));
  }

  Launcher.launcherImage = Images[kGiftLauncher];
  Launcher.giftImage = Images[kGifts];
  Launcher.target = &PlayerShip;
  Launcher.x = 0;
  Launcher.y = kLauncherStartY;
}

void StartLevel(int16_t level) {
  if (level < 0 || level >= kLevelCount) StopWithMessage("There is no such level to start.");
  if (Settings.difficulty >= 0 && Settings.difficulty <= 2) {
    Play.enemyFireChance = kFireChanceByDifficulty[Settings.difficulty];
  }

  Play.gameOver = 0;
  Formation& f = EnemyFormation;
  f.liveCount = 0;
  f.movingRight = 1;
  f.movingLeft = 0;
  f.x = 0;
  f.y = kFormationStartY;
  f.spedUp = 0;

  Ship& ship = PlayerShip;
  ship.bodyImage = Images[kPlayer];
  ship.x = static_cast<int16_t>(120 - ImageWidth(kPlayer) / 2);
  ship.y = kShipRow;
  ship.width = kShipSize;
  ship.height = kShipSize;
  ship.shot.image = Images[kShipShot];
  ship.shot.inFlight = 0;

  // A running effect is dropped without being undone; only the speed gift is taken back.
  Launcher = GiftLauncher{};
  if (ship.speed == kShipNormalSpeed + 2) ship.speed = kShipNormalSpeed;

  for (int i = 0; i < kFormationSlots; ++i) Play.layout[i] = LevelTable[level][i];

  for (int i = 0; i < kStarCount; ++i) {
    Star& star = Stars[i];
    for (int k = 0; k < kStarImages; ++k) star.images[k] = Images[kStar1 + k];
    star.y = static_cast<int16_t>(RandomInRange(1, 200, i));
    star.x = static_cast<int16_t>(RandomInRange(1, 240, 545));
    star.fallSpeed = static_cast<int16_t>(RandomInRange(1, 8, 4343));
    star.driftSpeed = static_cast<int16_t>(RandomInRange(1, 3, 4334));
    star.imageIndex = RandomInRange(0, 5, i);
  }

  for (Brick& brick : Bricks) {
    brick.visible = 1;
    for (int16_t& d : brick.damage) d = kCellWhole;
  }

  BuildFormation();
}

int StartNewGame() {
  PlayerShip.lives = 3;
  PlayerShip.score = 0;
  CurrentLevel = 0;
  StartLevel(0);
  return 0;
}
