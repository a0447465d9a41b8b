#include "frontend/game_over.h"

#include "frontend/name_entry.h"
#include "game/ship.h"
#include "platform/host.h"
#include "resources/draw.h"
#include "resources/images.h"

namespace {

constexpr uint32_t kGameOverMs = 3000;

}  // namespace

void RunGameOverScreen() {
  SDL_Surface* const picture = Images[kGameOver];
  BlitImage(picture, static_cast<int16_t>(120 - picture->w / 2),
            static_cast<int16_t>(160 - picture->h / 2));
  FlipScreen();
  HostDelay(kGameOverMs);
  EnterHighScore(PlayerShip.score);
}
