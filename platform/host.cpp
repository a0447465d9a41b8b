#include "platform/host.h"

#include "platform/gamepad.h"

namespace {

class SdlHost final : public HostInput {
 public:
  void Delay(uint32_t ms) override { SDL_Delay(ms); }
  uint32_t Ticks() override { return SDL_GetTicks(); }
  int PollEvent(SDL_Event* event) override { return SDL_PollEvent(event); }
  int WaitEvent(SDL_Event* event) override { return SDL_WaitEvent(event); }
  const uint8_t* KeyState() override { return SDL_GetKeyState(nullptr); }
};

SdlHost sdlHost;
HostInput* host = &sdlHost;

}  // namespace

void UseHostInput(HostInput* chosen) { host = chosen ? chosen : &sdlHost; }
HostInput& CurrentHost() { return *host; }

void HostDelay(uint32_t ms) { host->Delay(ms); }
uint32_t HostTicks() { return host->Ticks(); }
// Pad events reach the game as the keys they stand for.
int HostPollEvent(SDL_Event* event) {
  if (TakePendingPadEvent(*event)) return 1;
  while (host->PollEvent(event)) {
    if (TranslatePadEvent(*event)) return 1;
  }
  return 0;
}
int HostWaitEvent(SDL_Event* event) {
  if (TakePendingPadEvent(*event)) return 1;
  while (host->WaitEvent(event)) {
    if (TranslatePadEvent(*event)) return 1;
  }
  return 0;
}
const uint8_t* HostKeyState() { return MergePadKeys(host->KeyState()); }
