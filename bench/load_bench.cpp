// Loading the game's pictures against the floor of any load. LoadImages reads data/1.pak
// (gzip), decodes its table and converts every picture into the screen's format; the floor
// only inflates the same file into a buffer of the reader's size.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_support.h"
#include "resources/images.h"

namespace {


void BM_LoadImages(benchmark::State& state) {
  SetUpGame();
  for (auto _ : state) {
    LoadImages();
    benchmark::DoNotOptimize(Images[kFontWhite]);
  }
}
BENCHMARK(BM_LoadImages)->Unit(benchmark::kMillisecond);

void BM_FloorInflatePack(benchmark::State& state) {
  SetUpGame();
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[kMainPackBuffer]);
  int64_t bytes = 0;
  for (auto _ : state) {
    const int got = InflateMainPack(buffer.get(), kMainPackBuffer);
    if (got < 0) {
      state.SkipWithError("data/1.pak cannot be opened");
      break;
    }
    benchmark::DoNotOptimize(buffer.get());
    bytes = got;
  }
  state.counters["content_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FloorInflatePack)->Unit(benchmark::kMillisecond);

}  // namespace
