#include "platform/host.h"

#include <algorithm>

#include "platform/gamepad.h"
#include "platform/lost_display.h"
#include "platform/signals.h"
#include "platform/screen.h"

namespace {

// Longest sleep between two looks at the signals and the display's connection.
constexpr uint32_t kDelaySliceMs = 100;
constexpr uint32_t kWaitStepMs = 10;

class SdlHost final : public HostInput {
 public:
  // Long delays (the start screen, the level banner, the game-over picture) sleep in
  // slices: a request to end cuts them short, and reading the queue between slices finds
  // a lost display (which ends the program there).
  void Delay(uint32_t ms) override {
    while (ms > 0 && !EndRequested()) {
      const uint32_t slice = std::min(ms, kDelaySliceMs);
      SDL_Delay(slice);
      ms -= slice;
      if (ms > 0) SDL_PumpEvents();
      SDL_Event quit;  // a lost Wayland compositor comes as a quit, left queued till the delay ends
      if (SDL_PeepEvents(&quit, 1, SDL_PEEKEVENT, SDL_QUITMASK) > 0) EndIfDisplayLost();
    }
  }
  uint32_t Ticks() override { return SDL_GetTicks(); }
  // The window's own events (mode switch, taps in desktop pixels) are dealt with first. An
  // event swallowed here leaves the caller's event as it was, as an empty queue does.
  int PollEvent(SDL_Event* event) override {
    SDL_Event got;
    while (SDL_PollEvent(&got)) {
      if (!TakeWindowEvent(got)) {
        *event = got;
        return 1;
      }
    }
    return 0;
  }
  // Polls every 10 ms, as the SDL 1.2 layer's own wait does, so a request to end stops it too.
  int WaitEvent(SDL_Event* event) override {
    while (!EndRequested()) {
      if (PollEvent(event)) return 1;
      SDL_Delay(kWaitStepMs);
    }
    return 0;
  }
  const uint8_t* KeyState() override { return SDL_GetKeyState(nullptr); }
};

SdlHost sdlHost;
HostInput* host = &sdlHost;

}  // namespace

void UseHostInput(HostInput* chosen) { host = chosen ? chosen : &sdlHost; }
HostInput& CurrentHost() { return *host; }

void HostDelay(uint32_t ms) { host->Delay(ms); }
uint32_t HostTicks() { return host->Ticks(); }
// A request to end comes before anything else; pad events reach the game as the keys
// they stand for.
int HostPollEvent(SDL_Event* event) {
  if (EndRequested()) return TakeEndEvent(event, true);
  if (TakePendingPadEvent(*event)) return 1;
  // The play loop acts again on the last event it took while the queue is empty, so an
  // event swallowed here must not take its place.
  SDL_Event got = *event;
  while (host->PollEvent(&got)) {
    if (TranslatePadEvent(got)) {
      *event = got;
      return 1;
    }
  }
  return 0;
}
int HostWaitEvent(SDL_Event* event) {
  if (!EndRequested() && TakePendingPadEvent(*event)) return 1;
  int got = 0;
  while (!EndRequested() && (got = host->WaitEvent(event)) != 0) {
    if (TranslatePadEvent(*event)) return 1;
  }
  return EndRequested() ? TakeEndEvent(event, false) : got;
}
const uint8_t* HostKeyState() { return MergePadKeys(host->KeyState()); }
