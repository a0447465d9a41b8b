#include "bench/instructions.h"

#if ZORBLATS_HAVE_CALLGRIND
#include <valgrind/callgrind.h>
#else
// Built without valgrind's header: the sections run, nothing is counted.
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_TOGGLE_COLLECT
#define CALLGRIND_DUMP_STATS_AT(label) static_cast<void>(label)
#endif

#include <cstdint>
#include <cstdio>
#include <memory>

#include "bench/bench_scenes.h"
#include "bench/bench_support.h"
#include "game/game_loop.h"
#include "frontend/run_state.h"
#include "platform/host.h"
#include "platform/screen.h"
#include "replay/session.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "text/font.h"

namespace {

constexpr int kFrames = 100;
constexpr int kLoads = 3;

// Collects the body `times` times and dumps the counts under the section's name, with the
// number of repetitions after a slash so that the counts can be divided.
template <typename Body>
void Section(const char* name, int times, Body body) {
  char label[128];
  std::snprintf(label, sizeof label, "%s/%d", name, times);
  CALLGRIND_ZERO_STATS;
  for (int i = 0; i < times; ++i) {
    CALLGRIND_TOGGLE_COLLECT;
    body(i);
    CALLGRIND_TOGGLE_COLLECT;
  }
  CALLGRIND_DUMP_STATS_AT(label);
}

}  // namespace

int RunInstructionSections() {
  SetUpGame();
  const PlayScene scene = MakeMidLevelScene();
  int frame = 0;
  // The scene is restored outside the collected part, as the timed benchmark does.
  Section("PlayFrame", kFrames, [&](int) {
    CALLGRIND_TOGGLE_COLLECT;
    if (frame++ % kSceneFrames == 0) RestoreScene(scene);
    CALLGRIND_TOGGLE_COLLECT;
    StepFrame();
  });
  // The play loop's frame without and with the replay's recorder: the same second of play
  // from the same fresh start each time, so the recorder's one checkpoint a second counts in.
  // The flips go nowhere: what SDL does with them depends on the real clock, and the ratio
  // without them is the stricter one.
  struct : ScreenOutput {
    void Show(SDL_Surface*, const SDL_Rect&) override {}
  } nowhere;
  UseScreenOutput(&nowhere);
  FrameClockHost clock;
  UseHostInput(&clock);
  ReplayRecorder recorder("bench");
  for (HostInput* input : {&LiveGameInput(), static_cast<HostInput*>(&recorder)}) {
    ResetRunState();
    clock.now = 0;
    const PlayScene second = MakeMidLevelScene();
    UseGameInput(input);
    frame = 0;
    Section(input == &recorder ? "PlayLoopFrameRecording" : "PlayLoopFrame", kSceneFrames * 2,
            [&](int) {
              CALLGRIND_TOGGLE_COLLECT;
              if (frame++ % kSceneFrames == 0) RestoreScene(second);
              CALLGRIND_TOGGLE_COLLECT;
              PlayLoopFrame();
            });
  }
  UseGameInput(nullptr);
  UseScreenOutput(nullptr);
  // Two full-screen pictures in turn: every flip shows the whole screen anew.
  Section("FloorBlitAndFlip", kFrames, [](int i) {
    BlitImage(Images[i % 2 ? kMainMenu : kInGame], 0, 0);
    FlipScreen();
  });
  Section("SelectFont", kFrames, [](int) { SelectFont(kFontWhite); });
  Section("LoadImages", kLoads, [](int) { LoadImages(); });
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[kMainPackBuffer]);
  int got = 0;
  Section("FloorInflatePack", kLoads, [&](int) { got = InflateMainPack(buffer.get(), kMainPackBuffer); });
  std::printf("sections done; the main pack holds %d bytes of content\n", got);
  return got > 0 ? 0 : 1;
}
