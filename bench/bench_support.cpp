#include "bench/bench_support.h"

#include <SDL/SDL.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"
#include "platform/desktop/window_mode.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "settings/settings.h"

namespace {
FreeHost freeHost;
}  // namespace

std::atomic<bool> CountAllocations = false;
std::atomic<long> Allocations = 0;

// glibc's own entry points do the work; these only count.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* p, size_t size);
extern "C" void* malloc(size_t size) {
  if (CountAllocations) ++Allocations;
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  if (CountAllocations) ++Allocations;
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* p, size_t size) {
  if (CountAllocations) ++Allocations;
  return __libc_realloc(p, size);
}

const char* GameFolder() { return ZORBLATS_GAME_DIR; }

bool WindowedScreen() {
  const char* screen = std::getenv("ZORBLATS_BENCH_SCREEN");
  return screen && std::strcmp(screen, "window") == 0;
}

void SetUpGame() {
  static bool done = false;
  if (done) return;
  done = true;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
    std::exit(1);
  }
  if (WindowedScreen()) {
    ScreenSurface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, SDL_SWSURFACE);
  } else {
    ChooseStartMode(StartMode::FullScreen);
    ScreenSurface = OpenGameScreen();
  }
  if (!ScreenSurface) {
    std::fprintf(stderr, "no 240 x 320 screen: %s\n", SDL_GetError());
    std::exit(1);
  }
  UseHostInput(&freeHost);
  Settings.soundOn = 0;
  // ExeDir as start-up derives it: the folder with its separator.
  const int length = std::snprintf(ExeDir, kExeDirCapacity, "%s/", GameFolder());
  std::snprintf(DataDir, kDataDirCapacity, "%s/data\\", GameFolder());
  if (length <= 0 || static_cast<size_t>(length) >= kExeDirCapacity || chdir(GameFolder()) != 0) {
    std::fprintf(stderr, "cannot use the game folder %s\n", GameFolder());
    std::exit(1);
  }
  LoadImages();  // stops with a message when the pack is missing: build the game first
}

int InflateMainPack(uint8_t* buffer, unsigned size) {
  const std::string path = std::string(GameFolder()) + "/data/1.pak";
  gzFile file = gzopen(path.c_str(), "r");
  if (!file) return -1;
  const int got = gzread(file, buffer, size);
  gzclose(file);
  return got;
}

void FloorReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.iterations <= 0) continue;
    const std::string name = run.run_name.function_name;
    // The median of the repetitions wins over the single runs reported before it.
    const bool keep = run.run_type == Run::RT_Aggregate ? run.aggregate_name == "median"
                                                        : !cpuTime.count(name);
    if (!keep) continue;
    const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
    cpuTime[name] = run.GetAdjustedCPUTime() / perSecond;
    realTime[name] = run.GetAdjustedRealTime() / perSecond;
    if (run.counters.count("allocations")) allocations[name] = run.counters.at("allocations");
  }
  ConsoleReporter::ReportRuns(runs);
}

bool FloorReporter::PrintRatios() const {
  bool met = true;
  std::printf("\n%-28s %12s  %-24s %12s  %7s  %s\n", "measured", "CPU time", "floor", "CPU time",
              "ratio", "goal");
  for (const Pair& pair : pairs) {
    const auto m = cpuTime.find(pair.measured);
    const auto f = cpuTime.find(pair.floor);
    if (m == cpuTime.end() || f == cpuTime.end() || f->second <= 0) continue;
    const double ratio = m->second / f->second;
    const bool ok = ratio <= pair.goal;
    met = met && ok;
    std::printf("%-28s %9.1f us  %-24s %9.1f us  %7.2f  <= %.1f %s\n", pair.measured.c_str(),
                m->second * 1e6, pair.floor.c_str(), f->second * 1e6, ratio, pair.goal,
                ok ? "met" : "MISSED");
  }
  for (const Limit& limit : limits) {
    const auto m = realTime.find(limit.measured);
    const auto f = realTime.find(limit.floor);
    if (m == realTime.end() || f == realTime.end() || f->second <= 0) continue;
    const double ms = m->second * 1e3;
    met = met && ms < limit.goalMs;
    std::printf("%-28s %9.1f ms  %-24s %9.1f ms  %7.2f  < %.0f ms wall %s\n",
                limit.measured.c_str(), ms, limit.floor.c_str(), f->second * 1e3,
                m->second / f->second, limit.goalMs, ms < limit.goalMs ? "met" : "MISSED");
  }
  for (const auto& [name, count] : allocations) {
    met = met && count == 0;
    std::printf("%-28s %9.2f heap allocations per iteration  goal 0 %s\n", name.c_str(), count,
                count == 0 ? "met" : "MISSED");
  }
  return met;
}
