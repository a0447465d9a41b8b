// Time, events and the key table: the one seam between the game and SDL's clock and queue.
// The shipped game uses SDL directly through it; tests install a scripted host that runs
// the real game on a virtual clock.
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

// Chooses the host; null restores SDL. Called at start-up by tests and tools.
void UseHostInput(HostInput* host);
// The host in use (never null).
HostInput& CurrentHost();

// What the game takes: the host's input with the end-of-run requests and the pads dealt with.
// What HostDelay .. HostKeyState give unless a replay's recorder or player stands in front.
HostInput& LiveGameInput();
// Puts a recorder or a player of a replay in front of the live input; null takes it away.
// Called at start-up by the replay session.
void UseGameInput(HostInput* input);

// What every game routine calls instead of SDL's own: the game input chosen above.
void HostDelay(uint32_t ms);
uint32_t HostTicks();
int HostPollEvent(SDL_Event* event);
int HostWaitEvent(SDL_Event* event);
const uint8_t* HostKeyState();
