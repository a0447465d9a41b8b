// What every benchmark of the game shares: SDL's dummy screen, the game's own pictures
// from the built game folder, a host whose waits cost nothing, and the report that sets
// each measurement beside its floor.
#pragma once
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/host.h"

// Frames and screens are paced by delays; here they are free, and the clock steps 50 ms per
// reading so that the game's reseeded random draws still change from call to call.
class FreeHost final : public HostInput {
 public:
  void Delay(uint32_t) override {}
  uint32_t Ticks() override { return now += 50; }
  int PollEvent(SDL_Event*) override { return 0; }
  int WaitEvent(SDL_Event* event) override {
    event->type = SDL_QUIT;
    return 1;
  }
  const uint8_t* KeyState() override { return keys; }
  uint32_t now = 0;
  uint8_t keys[SDLK_LAST] = {};
};

// The built game folder (build*/bin), where data/1.pak, data/story and the help pictures are.
const char* GameFolder();

// The screen of the benchmarks: the game's own (OpenGameScreen on the full screen: the game
// draws into a 240 x 320 surface that every flip scales onto the dummy desktop); or, with
// ZORBLATS_BENCH_SCREEN=window, a plain 240 x 320 window whose flip only copies it, which
// leaves the game's own drawing to be seen.
bool WindowedScreen();

// The host of the whole play loop: the clock moves by the frames' delays (which cost nothing),
// as in play, so a replay's recorder takes its checkpoint of the screen once a second, every
// 20 frames. Used by the play loop's benchmarks with and without recording.
class FrameClockHost final : public HostInput {
 public:
  void Delay(uint32_t ms) override { now += ms; }
  uint32_t Ticks() override { return now; }
  int PollEvent(SDL_Event*) override { return 0; }
  int WaitEvent(SDL_Event* event) override { return PollEvent(event); }
  const uint8_t* KeyState() override { return keys; }
  uint32_t now = 0;
  uint8_t keys[SDLK_LAST] = {};
};

// One pass of the play loop as the game makes it: a poll, StepFrame, the frame's delay.
void PlayLoopFrame();

// Once per process: SDL's dummy video driver, the screen above, the free host,
// sound off, ExeDir at the game folder, the working directory there (as start-up makes it),
// and Images filled from the real data/1.pak by LoadImages. Used by every in-process
// benchmark.
void SetUpGame();

// The floor of loading: inflates the built data/1.pak into the buffer; the bytes it gave, or
// -1 when the file cannot be opened.
int InflateMainPack(uint8_t* buffer, unsigned size);

// Prints every benchmark as the console does, keeps the median CPU and real time of each
// (or the single run's, without repetitions), and at the end prints each measurement beside
// its floor with their ratio and the goal, and the measurements with goals of their own.
class FloorReporter : public benchmark::ConsoleReporter {
 public:
  struct Pair {
    std::string measured, floor;
    double goal;
  };
  // A measurement with a goal of its own in real (wall) time, shown beside its floor.
  struct Limit {
    std::string measured, floor;
    double goalMs;
  };
  FloorReporter(std::vector<Pair> pairs, std::vector<Limit> limits)
      : pairs(std::move(pairs)), limits(std::move(limits)) {}
  void ReportRuns(const std::vector<Run>& runs) override;
  // The closing table; false when a goal is missed (the run still exits normally).
  bool PrintRatios() const;

 private:
  std::vector<Pair> pairs;
  std::vector<Limit> limits;
  std::map<std::string, double> cpuTime;   // seconds per iteration
  std::map<std::string, double> realTime;  // seconds per iteration
  std::map<std::string, double> allocations;  // per iteration, where counted
};

// Every malloc, calloc and realloc of the process (the game's, SDL's and the C++ library's)
// adds one to Allocations while CountAllocations is set. BM_PlayFrame counts its frames'.
extern std::atomic<bool> CountAllocations;
extern std::atomic<long> Allocations;

// The buffer LoadImages reads the main pack with.
constexpr unsigned kMainPackBuffer = 2000000;
