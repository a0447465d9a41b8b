// The game's own entry point with the start-up waits taken out: everything WinMain and
// RunGame do up to the first main-menu frame, on a virtual clock. When the menu first waits
// for an event the probe prints how long the way there took and answers SDL_QUIT, and the
// game shuts down as it would. Built as bench/startup-game/zorblats beside a link to the
// game's data folder, so that start-up finds its folders exactly as the game does.
#include <SDL/SDL.h>
#include <time.h>

#include <cstdio>

#include "app/startup.h"
#include "platform/host.h"

namespace {

double Seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double startWall = 0;
double startCpu = 0;

class VirtualClockHost final : public HostInput {
 public:
  void Delay(uint32_t ms) override { now += ms; }
  uint32_t Ticks() override { return now; }
  int PollEvent(SDL_Event*) override { return 0; }
  int WaitEvent(SDL_Event* event) override {
    if (!reported) {
      reported = true;
      std::printf("startup_wall_us %.0f\nstartup_cpu_us %.0f\nwaits_taken_out_ms %u\n",
                  (Seconds(CLOCK_MONOTONIC) - startWall) * 1e6,
                  (Seconds(CLOCK_PROCESS_CPUTIME_ID) - startCpu) * 1e6, now);
      std::fflush(stdout);
    }
    event->type = SDL_QUIT;
    return 1;
  }
  const uint8_t* KeyState() override { return keys; }

 private:
  uint32_t now = 0;
  bool reported = false;
  uint8_t keys[SDLK_LAST] = {};
};

VirtualClockHost host;

}  // namespace

int main() {
  UseHostInput(&host);
  startWall = Seconds(CLOCK_MONOTONIC);
  startCpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  return WinMain();
}
