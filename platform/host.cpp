#include "platform/host.h"

#include "platform/window_mode.h"

namespace {

class SdlHost final : public HostInput {
 public:
  void Delay(uint32_t ms) override { SDL_Delay(ms); }
  uint32_t Ticks() override { return SDL_GetTicks(); }
  // The window's own events (mode switch, taps in desktop pixels) are dealt with first.
  int PollEvent(SDL_Event* event) override {
    while (SDL_PollEvent(event)) {
      if (!TakeWindowEvent(*event)) return 1;
    }
    return 0;
  }
  int WaitEvent(SDL_Event* event) override {
    while (SDL_WaitEvent(event)) {
      if (!TakeWindowEvent(*event)) return 1;
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
int HostPollEvent(SDL_Event* event) { return host->PollEvent(event); }
int HostWaitEvent(SDL_Event* event) { return host->WaitEvent(event); }
const uint8_t* HostKeyState() { return host->KeyState(); }
