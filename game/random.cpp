#include "game/random.h"

#include <cstdlib>

#include "platform/host.h"

// The last result, which takes part in the next seed; 1 before the first draw.
static uint32_t lastRandom = 1;

int32_t RandomInRange(int32_t low, int32_t high, int32_t salt) {
  const uint32_t t = HostTicks();
  std::srand(t * lastRandom + static_cast<uint32_t>(salt));
  const int32_t result = low + std::rand() % (high - low);
  lastRandom = static_cast<uint32_t>(result);
  return result;
}

void ResetRandom() { lastRandom = 1; }
