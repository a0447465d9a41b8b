// One play frame against the floor of any frame. The frame is StepFrame (ship, shot,
// launcher, formation, then UpdateAndDraw and FlipScreen) in the middle of the first level:
// a full formation, 50 stars, three bricks, the ship moving with its shot in flight, eight
// enemy shots falling and a gift dropping, drawn with the game's own pictures. The floor
// is what no frame can do without: one full-screen blit of a 240 x 320 picture and a flip
// that shows all of it. Both run on SDL's dummy video driver with the waits made free.
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

#include "bench/bench_scenes.h"
#include "bench/bench_support.h"
#include "game/game_loop.h"
#include "replay/session.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "text/font.h"

namespace {

void BM_PlayFrame(benchmark::State& state) {
  SetUpGame();
  PlayScene scene = MakeMidLevelScene();
  int frames = 0;
  Allocations = 0;
  for (auto _ : state) {
    CountAllocations = true;
    StepFrame();
    CountAllocations = false;
    // Half a second of play, then the same scene again: shots stay in flight, the gift
    // keeps falling and the formation stays full and high.
    if (++frames == kSceneFrames) {
      state.PauseTiming();
      RestoreScene(scene);
      frames = 0;
      state.ResumeTiming();
    }
  }
  // Play allocates nothing: every record it uses is made before the first frame.
  state.counters["allocations"] =
      benchmark::Counter(Allocations, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlayFrame);

// One pass of the play loop (a poll, StepFrame, the frame's delay), with or without every
// answer the game takes noted for the run's replay.
void PlayLoopFrames(benchmark::State& state, bool recording) {
  SetUpGame();
  HostInput& before = CurrentHost();
  FrameClockHost host;
  UseHostInput(&host);
  PlayScene scene = MakeMidLevelScene();
  ReplayRecorder recorder("bench");
  if (recording) UseGameInput(&recorder);
  int frames = 0;
  for (auto _ : state) {
    PlayLoopFrame();
    if (++frames == kSceneFrames) {
      state.PauseTiming();
      RestoreScene(scene);
      frames = 0;
      state.ResumeTiming();
    }
  }
  UseGameInput(nullptr);
  UseHostInput(&before);
}
void BM_PlayLoopFrame(benchmark::State& state) { PlayLoopFrames(state, false); }
BENCHMARK(BM_PlayLoopFrame);
void BM_PlayLoopFrameRecording(benchmark::State& state) { PlayLoopFrames(state, true); }
BENCHMARK(BM_PlayLoopFrameRecording);

// Two full-screen pictures in turn: the display shows only what changed, so every flip must
// change the whole screen to be the floor of a frame that does.
void BM_FloorBlitAndFlip(benchmark::State& state) {
  SetUpGame();
  SDL_Surface* pictures[] = {Images[kInGame], Images[kMainMenu]};
  int next = 0;
  for (auto _ : state) {
    BlitImage(pictures[next ^= 1], 0, 0);
    FlipScreen();
  }
}
BENCHMARK(BM_FloorBlitAndFlip);

// The play screen selects the white font twice a frame, each time rebuilding the glyph
// table from the font's marker row.
void BM_SelectFont(benchmark::State& state) {
  SetUpGame();
  for (auto _ : state) {
    SelectFont(kFontWhite);
    benchmark::DoNotOptimize(GlobalGlyphs.count);
  }
}
BENCHMARK(BM_SelectFont);

}  // namespace
