// One play frame (full formation, 50 stars, three bricks) against the floor of any frame:
// one full-screen blit of a 240 x 320 16-bit picture and a flip. Runs on SDL's dummy video
// driver with pictures of the game's real sizes and a host whose delays cost nothing, and
// prints how many bare blits one frame costs.
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "frontend/settings.h"
#include "game/game_loop.h"
#include "game/game_state.h"
#include "platform/host.h"
#include "resources/draw.h"
#include "resources/images.h"

namespace {

// Frames are paced by delays; here they are free and the clock steps 50 ms per call.
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

FreeHost freeHost;

SDL_Surface* Surface(int w, int h, uint16_t colour) {
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
  SDL_FillRect(s, nullptr, colour);
  return s;
}

// A font strip of 94 glyphs, 6 wide and 10 high, with its row-0 markers.
SDL_Surface* FontSurface() {
  const int glyphs = 94, glyphWidth = 6;
  SDL_Surface* s = Surface(glyphs * (glyphWidth + 1) + 1, 10, 0);
  for (int g = 0; g <= glyphs; ++g) {
    SDL_Rect marker{static_cast<Sint16>(g * (glyphWidth + 1)), 0, 1, 1};
    SDL_FillRect(s, &marker, 0xF81F);
  }
  for (int g = 0; g < glyphs; ++g) {
    SDL_Rect ink{static_cast<Sint16>(g * (glyphWidth + 1) + 1), 2, glyphWidth, 6};
    SDL_FillRect(s, &ink, 0xFFFF);
  }
  return s;
}

// Pictures of the sizes the game's packs hold (backgrounds full-screen, sprite strips).
void InstallImages() {
  struct Size {
    int w, h;
  };
  static constexpr Size kSizes[kImageCount] = {
      {240, 320}, {240, 320}, {60, 30},  {3, 8},    {3, 8},    {46, 18},  {46, 18},
      {46, 18},   {240, 320}, {12, 12},  {160, 60}, {200, 16}, {60, 12},  {30, 30},
      {240, 320}, {240, 320}, {240, 320}, {240, 320}, {240, 320}, {0, 0},   {0, 0},
      {2, 2},     {2, 2},     {2, 2},    {2, 2},    {2, 2},    {115, 18}, {150, 30},
      {15, 15},   {120, 40},  {1, 1},    {130, 30}, {240, 86}, {240, 86}, {240, 86},
      {240, 86},  {1, 1},     {96, 16},  {0, 0},    {60, 30},  {60, 30}};
  for (int id = 0; id < kImageCount; ++id) {
    if (id == kFontGrey || id == kFontBold || id == kFontWhite) {
      Images[id] = FontSurface();
    } else {
      Images[id] = Surface(kSizes[id].w, kSizes[id].h, static_cast<uint16_t>(0x0841 * (id + 1) | 0x8000));
    }
  }
  ApplyColourKeys();
}

void SetUpScreen() {
  static bool done = false;
  if (done) return;
  done = true;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
    std::exit(1);
  }
  ScreenSurface = SDL_SetVideoMode(240, 320, 16, SDL_SWSURFACE);
  if (!ScreenSurface) {
    std::fprintf(stderr, "no video mode: %s\n", SDL_GetError());
    std::exit(1);
  }
  UseHostInput(&freeHost);
  Settings.soundOn = 0;
  InstallImages();
}

// A fresh first level: 48 enemies, 50 stars, three whole bricks, the banner already shown.
void FreshLevel() {
  StartNewGame();
  Play.showBanner = 0;
}

void BM_PlayFrame(benchmark::State& state) {
  SetUpScreen();
  FreshLevel();
  int frames = 0;
  for (auto _ : state) {
    StepFrame();
    if (++frames == 40) {  // keep the formation full and high: start the level again
      state.PauseTiming();
      FreshLevel();
      frames = 0;
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_PlayFrame);

void BM_BareBlitAndFlip(benchmark::State& state) {
  SetUpScreen();
  SDL_Surface* background = Images[kInGame];
  for (auto _ : state) {
    BlitImage(background, 0, 0);
    FlipScreen();
  }
}
BENCHMARK(BM_BareBlitAndFlip);

// Keeps each benchmark's CPU time per iteration, to print the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        perIteration[run.benchmark_name()] = run.GetAdjustedCPUTime();  // the machine may be shared
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> perIteration;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto frame = reporter.perIteration.find("BM_PlayFrame");
  const auto blit = reporter.perIteration.find("BM_BareBlitAndFlip");
  if (frame != reporter.perIteration.end() && blit != reporter.perIteration.end() && blit->second > 0) {
    std::printf("one play frame costs %.2f bare full-screen blits with a flip\n", frame->second / blit->second);
  }
  benchmark::Shutdown();
  return 0;
}
