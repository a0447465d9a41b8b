#include "game/bricks_stars.h"

#include "game/random.h"
#include "game/ship.h"
#include "platform/rect.h"
#include "resources/draw.h"

Brick Bricks[kBrickCount];
Star Stars[kStarCount];

// Stars that drift off the left edge come back here; off the right edge they stay unseen
// until they pass this column.
constexpr int16_t kStarLeftWrapX = 230;
constexpr int16_t kStarRightWrapLimit = 310;

static int CellDx(int cell) { return kBrickCellSize * (cell % 4); }
static int CellDy(int cell) { return kBrickCellSize * (cell / 4); }

int HitBrick(Brick& brick, int32_t px, int32_t py) {
  for (int i = 0; i < kBrickCells; ++i) {
    const int left = brick.x + CellDx(i);
    const int top = brick.y + CellDy(i);
    const Rect square{left, top, left + kBrickCellSize, top + kBrickCellSize};
    if (PtInRect(square, px, py) && brick.damage[i] < kCellGone) {
      brick.damage[i] = static_cast<int16_t>(brick.damage[i] + 1);
      return 1;
    }
  }
  return 0;
}

void DrawBrick(const Brick& brick) {
  for (int i = 0; i < kBrickCells; ++i) {
    SDL_Surface* picture = brick.damage[i] == kCellWhole  ? brick.image
                           : brick.damage[i] == kCellWorn ? brick.damagedImage
                                                          : nullptr;
    if (!picture) continue;
    BlitImagePart(picture, static_cast<int16_t>(brick.x + CellDx(i)),
                  static_cast<int16_t>(brick.y + CellDy(i)), kBrickCellSize, kBrickCellSize,
                  static_cast<int16_t>(CellDx(i)), static_cast<int16_t>(CellDy(i)));
  }
}

void MoveStar(Star& star) {
  if (PlayerShip.movingRight) {
    star.x = static_cast<int16_t>(star.x - star.driftSpeed);
    if (star.x < 0) star.x = kStarLeftWrapX;
  } else if (PlayerShip.movingLeft) {
    star.x = static_cast<int16_t>(star.x + star.driftSpeed);
    if (star.x > kStarRightWrapLimit) star.x = 0;
  }
  star.y = static_cast<int16_t>(star.y + star.fallSpeed);
  if (star.y > kScreenHeight) {
    star.y = 0;
    star.x = static_cast<int16_t>(RandomInRange(1, 240, 546));
    star.fallSpeed = static_cast<int16_t>(RandomInRange(1, 8, 6352));
    star.driftSpeed = static_cast<int16_t>(RandomInRange(1, 3, 6352));
    star.imageIndex = RandomInRange(0, 5, 633332);
  }
}

void DrawStar(const Star& star) { BlitImage(star.images[star.imageIndex], star.x, star.y); }
