// For the front-end tests: a host that passes everything to the scripted host and notes,
// each time the game blocks for an event, which background was showing. Every synthetic
// background has its own colour, so the pixel at a corner no button covers names the screen.
#pragma once
#include <functional>
#include <vector>

#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"

class WatchingHost final : public HostInput {
 public:
  explicit WatchingHost(ScriptedHost& inner) : inner(inner) {}
  void Delay(uint32_t ms) override { inner.Delay(ms); }
  uint32_t Ticks() override { return inner.Ticks(); }
  int PollEvent(SDL_Event* event) override { return inner.PollEvent(event); }
  int WaitEvent(SDL_Event* event) override {
    seen.push_back(ReadPixel(kProbeX, kProbeY, ScreenSurface));
    if (beforeWait) beforeWait();
    return inner.WaitEvent(event);
  }
  const uint8_t* KeyState() override { return inner.KeyState(); }

  // The image whose colour the probe pixel showed at each wait (-1: none of them).
  std::vector<int> Screens() const {
    std::vector<int> ids;
    for (uint32_t pixel : seen) ids.push_back(ScreenOf(pixel));
    return ids;
  }
  static int ScreenOf(uint32_t pixel) {
    for (int id : {kMainMenu, kOptions, kHelp, kAbout, kScores, kSupport, kInGame, kStartScreen}) {
      if (Images[id] && ReadPixel(kProbeX, kProbeY, Images[id]) == pixel) return id;
    }
    return -1;
  }

  static constexpr int kProbeX = 232;
  static constexpr int kProbeY = 4;
  std::vector<uint32_t> seen;
  // Runs each time the game blocks, after the probe: a test looks at the screen here.
  std::function<void()> beforeWait;

 private:
  ScriptedHost& inner;
};
