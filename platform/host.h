// Time, events and the key table: the one seam between the game and SDL's clock and queue.
// The desktop game uses SDL directly through it, the browser the page's host (platform/web/
// page.h); the tests, the whole-game fuzzer and the gallery tool install the virtual host
// (tests/support/virtual_host.h), which runs the real game on a virtual clock.
//
// The way of an event to the game (HostPollEvent, HostWaitEvent), in order:
// 1. A request to end (SIGTERM, SIGINT, SIGHUP: platform/signals.h) comes before anything
//    else: every wait, and every other poll, gives SDL_QUIT.
// 2. A key event that one pad event made beside another (a hat from left to right) comes
//    next, before the host is asked.
// 3. Then the host's events. The desktop's host first shows each to the window
//    (TakeWindowEvent: the full-screen keys are taken, taps are mapped to game pixels and a
//    press outside the picture is dropped, an exposed window is shown again, a quit from a
//    lost compositor ends the program); the page does that itself. What is left goes to the
//    pads (TranslatePadEvent): a pad's button, hat or stick becomes a key, and a stick inside
//    its dead zone or the pad watch's tick is dropped.
// The key table (HostKeyState) is the host's with the keys the pads hold added.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

class HostInput {
 public:
  virtual ~HostInput() = default;
  virtual void Delay(uint32_t ms) = 0;             // SDL_Delay
  virtual uint32_t Ticks() = 0;                    // SDL_GetTicks
  virtual int PollEvent(SDL_Event* event) = 0;     // SDL_PollEvent
  virtual int WaitEvent(SDL_Event* event) = 0;     // SDL_WaitEvent
  virtual const uint8_t* KeyState() = 0;           // SDL_GetKeyState, indexed by SDLKey
};

// Chooses the host; null restores SDL's. Called at start-up by the browser's main, the tests
// and the tools.
void UseHostInput(HostInput* host);
// The host in use (never null).
HostInput& CurrentHost();

// What every game routine calls instead of SDL's own.
void HostDelay(uint32_t ms);
uint32_t HostTicks();
int HostPollEvent(SDL_Event* event);
int HostWaitEvent(SDL_Event* event);
const uint8_t* HostKeyState();
