// The benchmarks of the game: every measurement is followed by a table that sets it beside
// its floor, measured in the same run. "--instructions" runs the sections counted by
// count_instructions.sh instead.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/bench_support.h"
#include "bench/instructions.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--instructions") == 0) return RunInstructionSections();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  FloorReporter reporter({{"BM_PlayFrame", "BM_FloorBlitAndFlip", 2.0},
                          {"BM_LoadImages", "BM_FloorInflatePack", 1.5},
                          {"BM_PlayLoopFrameRecording", "BM_PlayLoopFrame", 1.02}},
                         {{"BM_StartUpToMenu", "BM_FloorStartUp", 50}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
