#include "game/ship.h"

#include "game/sounds.h"
#include "resources/draw.h"

Ship PlayerShip;

// The play field ends here; an enemy shot below it is gone.
constexpr int kShotBottomLimit = 264;
constexpr uint16_t kShipFrameSize = 30;

void MoveShip(Ship& ship) {
  if (ship.movingLeft) {
    ship.x = static_cast<int16_t>(ship.x - ship.speed);
    if (ship.x < 0) ship.x = 0;
  }
  if (ship.movingRight) {
    ship.x = static_cast<int16_t>(ship.x + ship.speed);
    if (ship.x > kShipRightLimit) ship.x = kShipRightLimit;
  }
}

void MoveShot(Shot& shot) {
  if (!shot.inFlight) return;
  shot.y = static_cast<int16_t>(shot.y - shot.speed);
  if (shot.y < 0) {
    shot.inFlight = 0;
    shot.y = shot.startY;
  }
  if (shot.y > kShotBottomLimit) shot.inFlight = 0;  // y keeps its value
}

void DrawShot(const Shot& shot) {
  if (shot.inFlight) BlitImage(shot.image, shot.x, shot.y);
}

void DrawShip(Ship& ship) {
  ship.frame = static_cast<int16_t>(ship.frame + 1);
  if (ship.frame == ship.frameCount - 2) ship.frame = 0;
  BlitImagePart(ship.bodyImage, ship.x, ship.y, kShipFrameSize, kShipFrameSize,
                static_cast<int16_t>(kShipFrameSize * ship.frame), 0);
}

void FireShot(Ship& ship) {
  if (ship.shot.inFlight) return;
  PlaySound(0);
  const int imageWidth = ship.shot.image ? ship.shot.image->w : 0;
  ship.shot.x = static_cast<int16_t>(15 - imageWidth / 2 + ship.x);
  ship.shot.y = ship.shot.startY;
  ship.shot.inFlight = 1;
}
