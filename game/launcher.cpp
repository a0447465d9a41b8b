#include "game/launcher.h"

#include "game/play_state.h"
#include "game/random.h"
#include "game/sounds.h"
#include "platform/rect.h"
#include "resources/draw.h"

GiftLauncher Launcher;

constexpr int32_t kLauncherSalt = 2222555;
constexpr int16_t kShipSpeedBonus = 2;

static bool Idle(const GiftLauncher& launcher) { return !launcher.movingRight && !launcher.falling; }

void TryStartLauncher(GiftLauncher& launcher) {
  if (!Idle(launcher)) return;
  const int32_t r = RandomInRange(0, 500, kLauncherSalt);
  if (r > 500 - Play.launchChance && !launcher.effectActive) launcher.movingRight = 1;
}

static void CatchGift(GiftLauncher& launcher) {
  Ship& ship = *launcher.target;
  launcher.effectActive = 1;
  PlaySound(3);
  switch (launcher.kind) {
    case Reverse:
      launcher.reverseOn = 1;
      break;
    case ExtraLife:
      ship.lives = static_cast<int16_t>(ship.lives + 1);
      break;
    case ShipSpeed:
      launcher.speedOn = 1;
      ship.speed = static_cast<int16_t>(ship.speed + kShipSpeedBonus);
      break;
    case ChainKill:
      launcher.chainOn = 1;
      break;
    default:
      break;
  }
  launcher.falling = 0;
  launcher.x = 0;
  launcher.y = kLauncherStartY;
}

static void EndEffect(GiftLauncher& launcher) {
  Ship& ship = *launcher.target;
  launcher.effectActive = 0;
  switch (launcher.kind) {
    case ChainKill:
      launcher.chainOn = 0;
      break;
    case ShipSpeed:
      launcher.speedOn = 0;
      ship.speed = static_cast<int16_t>(ship.speed - kShipSpeedBonus);
      break;
    case Reverse:
      launcher.reverseOn = 0;
      break;
    default:  // ExtraLife has nothing to take back
      break;
  }
  launcher.effectTimer = 0;
}

void UpdateLauncher(GiftLauncher& launcher) {
  if (launcher.movingRight) {
    launcher.x = static_cast<int16_t>(launcher.x + launcher.speed);
    if (launcher.x > kLauncherRightLimit) {
      launcher.movingRight = 0;
      launcher.x = 0;
    }
  } else if (launcher.falling) {
    const Ship& ship = *launcher.target;
    const Rect shipRect{ship.x, ship.y, ship.x + ship.width, ship.y + ship.height};
    if (PtInRect(shipRect, launcher.x + kGiftSize / 2, launcher.y + kGiftSize / 2)) {
      CatchGift(launcher);
    }
    // The gift keeps falling in this step even right after a catch, so a caught gift leaves
    // the launcher waiting at row 18 rather than 15.
    launcher.y = static_cast<int16_t>(launcher.y + launcher.fallSpeed);
    if (launcher.y + kGiftSize > kScreenHeight) {
      launcher.y = kLauncherStartY;
      launcher.falling = 0;
      launcher.x = 0;
    }
  }
  if (launcher.effectActive) {
    launcher.effectTimer += 1;
    if (launcher.effectTimer > launcher.effectTime) EndEffect(launcher);
  }
}

void HitLauncher(GiftLauncher& launcher) {
  Ship& ship = *launcher.target;
  if (!ship.shot.inFlight || Idle(launcher)) return;
  const int width = launcher.falling ? kGiftSize : kLauncherFrameWidth;
  const int height = launcher.launcherImage ? launcher.launcherImage->h : 0;
  const Rect area{launcher.x, launcher.y, launcher.x + width, launcher.y + height};
  if (!PtInRect(area, ship.shot.x, ship.shot.y)) return;
  PlaySound(2);
  int16_t kind = static_cast<int16_t>(RandomInRange(0, 5, kLauncherSalt));
  if (kind == 1) kind = Reverse;
  launcher.kind = kind;
  launcher.falling = 1;
  launcher.movingRight = 0;
  ship.shot.inFlight = 0;
}

void DrawLauncher(GiftLauncher& launcher) {
  if (launcher.falling) {
    BlitImagePart(launcher.giftImage, launcher.x, launcher.y, kGiftSize, kGiftSize,
                  static_cast<int16_t>(kGiftSize * launcher.kind), 0);
  } else if (launcher.movingRight) {
    const uint16_t height = launcher.launcherImage ? static_cast<uint16_t>(launcher.launcherImage->h) : 0;
    BlitImagePart(launcher.launcherImage, launcher.x, launcher.y, kLauncherFrameWidth, height,
                  static_cast<int16_t>((launcher.frame + 2) * kLauncherFrameWidth), 0);
    launcher.frame += 1;
    if (launcher.frame == 2) launcher.frame = 0;
  }
}
