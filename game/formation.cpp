#include "game/formation.h"

#include "game/launcher.h"
#include "game/play_state.h"
#include "game/random.h"
#include "platform/rect.h"
#include "resources/draw.h"

Enemy Enemies[kFormationSlots];
Formation EnemyFormation;

// The block turns once an enemy of the previous frame lies past these columns.
constexpr int kFormationRightLimit = 233;
constexpr int kFormationLeftLimit = 7;
// A left turn with an enemy's bottom below this row lands the formation.
constexpr int kLandingRow = 234;

static bool AnyLiveEnemy(bool (*test)(const Enemy&)) {
  for (const Enemy& enemy : Enemies) {
    if (enemy.alive && test(enemy)) return true;
  }
  return false;
}

void MoveFormation() {
  Formation& f = EnemyFormation;
  int step = Launcher.reverseOn ? -1 : 1;
  if (f.spedUp) step += 1;

  if (f.movingRight) {
    f.x += step;
    if (AnyLiveEnemy([](const Enemy& e) { return e.x + kEnemyWidth > kFormationRightLimit; })) {
      f.movingLeft = 1;
      f.movingRight = 0;
      f.y += 1;
    }
  } else if (f.movingLeft) {
    f.x -= step;
    if (AnyLiveEnemy([](const Enemy& e) { return e.x < kFormationLeftLimit; })) {
      f.movingRight = 1;
      f.movingLeft = 0;
      f.y += 1;
      // The enemies still stand where they were placed before this drop.
      if (AnyLiveEnemy([](const Enemy& e) { return e.y + kEnemyHeight > kLandingRow; })) {
        Play.gameOver = 1;
      }
    }
  }
}

void EnemyTryFire(Enemy& enemy) {
  if (!enemy.alive) return;
  enemy.fireTimer += 1;
  if (enemy.fireTimer == enemy.firePeriod) {
    const int32_t r = RandomInRange(0, 500, enemy.fireSalt);
    if (r > 500 - Play.enemyFireChance) EnemyFire(enemy);
    enemy.fireTimer = 0;
  }
}

void EnemyFire(Enemy& enemy) {
  if (enemy.shot.inFlight) return;
  const int shotHeight = enemy.shot.image ? enemy.shot.image->h : 0;
  enemy.shot.x = enemy.x;
  enemy.shot.y = static_cast<int16_t>(enemy.y + enemy.height + shotHeight);
  enemy.shot.inFlight = 1;
}

int HitEnemy(Enemy& enemy) {
  Ship& ship = *enemy.target;
  if (!ship.shot.inFlight || !enemy.alive) return 0;
  const Rect body{enemy.x, enemy.y, enemy.x + enemy.width, enemy.y + enemy.height};
  if (!PtInRect(body, ship.shot.x, ship.shot.y)) return 0;
  enemy.hits = static_cast<int16_t>(enemy.hits - 1);
  ship.score += enemy.points;
  ship.shot.inFlight = 0;
  if (enemy.hits < 0) {
    enemy.frame = 0;
    enemy.alive = 0;
    enemy.cell = 0;
    enemy.exploding = 1;
    return 1;
  }
  return 0;
}

void DrawEnemy(Enemy& enemy) {
  if (enemy.exploding) {
    enemy.shot.inFlight = 0;
    BlitImagePart(enemy.explosionImage, enemy.x, enemy.y, kEnemyWidth, kEnemyHeight,
                  static_cast<int16_t>(kEnemyWidth * enemy.frame), 0);
    enemy.frame = static_cast<int16_t>(enemy.frame + 1);
    if (enemy.frame == enemy.frameCount + 1) {
      enemy.exploding = 0;
      enemy.frame = 0;
    }
  }
  if (enemy.alive) {
    enemy.frame = static_cast<int16_t>(enemy.frame + 1);
    if (enemy.frame == enemy.frameCount - 2) enemy.frame = 0;
    BlitImagePart(enemy.bodyImages[enemy.hits], enemy.x, enemy.y, kEnemyWidth, kEnemyHeight,
                  static_cast<int16_t>(kEnemyWidth * enemy.frame), 0);
    if (enemy.shot.inFlight) BlitImage(enemy.shot.image, enemy.shot.x, enemy.shot.y);
  }
}
