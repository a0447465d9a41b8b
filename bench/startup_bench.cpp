// Start-up work: the game's start-up up to its first main-menu frame, with the second of
// the start screen taken out, timed inside a fresh process each time (the probe program
// beside this one), on SDL's dummy video and audio drivers. Beside it the floor: a bare SDL
// program that opens the same screen, flips it once and stops.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct ProbeResult {
  double wallUs = -1;
  double cpuUs = -1;
  double waitsMs = -1;
};

ProbeResult RunProbe(const std::string& runtimeDir, const std::string& program) {
  ProbeResult result;
  const std::string command = "env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR='" +
                              runtimeDir + "' " + program;
  std::FILE* probe = popen(command.c_str(), "r");
  if (!probe) return result;
  char line[256];
  while (std::fgets(line, sizeof line, probe)) {
    double value = 0;
    if (std::sscanf(line, "startup_wall_us %lf", &value) == 1) result.wallUs = value;
    if (std::sscanf(line, "startup_cpu_us %lf", &value) == 1) result.cpuUs = value;
    if (std::sscanf(line, "waits_taken_out_ms %lf", &value) == 1) result.waitsMs = value;
  }
  if (pclose(probe) != 0) result.wallUs = -1;
  return result;
}

void StartUpBench(benchmark::State& state, const std::string& program) {
  char folder[] = "/tmp/zorblats-startup-XXXXXX";  // the probe's own instance-lock folder
  if (!mkdtemp(folder)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  double cpu = 0, waits = 0;
  for (auto _ : state) {
    const ProbeResult run = RunProbe(folder, program);
    if (run.wallUs < 0) {
      state.SkipWithError("the start-up probe failed (is the game built?)");
      break;
    }
    state.SetIterationTime(run.wallUs * 1e-6);
    cpu += run.cpuUs;
    waits = run.waitsMs;
  }
  state.counters["probe_cpu_ms"] =
      benchmark::Counter(cpu * 1e-3, benchmark::Counter::kAvgIterations);
  if (waits >= 0) state.counters["waits_taken_out_ms"] = waits;
  const std::string lock = std::string(folder) + "/KYBRAN.lock";
  std::remove(lock.c_str());
  rmdir(folder);
}
void BM_StartUpToMenu(benchmark::State& state) { StartUpBench(state, "'" ZORBLATS_STARTUP_PROBE "'"); }
BENCHMARK(BM_StartUpToMenu)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FloorStartUp(benchmark::State& state) {
  StartUpBench(state, "'" ZORBLATS_FLOOR_PROGRAM "' startup");
}
BENCHMARK(BM_FloorStartUp)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
