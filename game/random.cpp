#include "game/random.h"

#include "platform/host.h"

namespace {

// The last result, which takes part in the next seed; 1 before the first draw.
uint32_t lastRandom = 1;

// The generator behind the draw: the C standard's own example of rand (the state times
// 1103515245 plus 12345, in 32 bits; the result its bits 16 to 30, 0 to 32767). It is the
// game's own so that every platform draws the same numbers from the same seed, as a replay
// needs: the C libraries' rand differ between the desktop and the browser.
uint32_t generatorState = 1;

void SeedGenerator(uint32_t seed) { generatorState = seed; }

int32_t NextFromGenerator() {
  generatorState = generatorState * 1103515245u + 12345u;
  return static_cast<int32_t>(generatorState / 65536 % 32768);
}

}  // namespace

int32_t RandomInRange(int32_t low, int32_t high, int32_t salt) {
  const uint32_t t = HostTicks();
  SeedGenerator(t * lastRandom + static_cast<uint32_t>(salt));
  const int32_t result = low + NextFromGenerator() % (high - low);
  lastRandom = static_cast<uint32_t>(result);
  return result;
}

void ResetRandom() { lastRandom = 1; }
