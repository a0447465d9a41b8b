// Gamepads and joysticks as keys: SDL's joystick events become the key events the screens
// already read, and the pad's held directions and buttons join the key table.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

// Asks sdl12-compat to present game controllers with SDL's own button mapping (south 0,
// east 1, west 2, Start 6, d-pad 11 to 14). Called by StartUp before SDL_Init.
void PrepareGamepads();

// Opens every pad present and starts the watch that takes up pads plugged in later and
// drops pulled ones. Called by StartUp once SDL runs.
void OpenGamepads();

// Rewrites an event from SDL's queue as the screens should see it: a pad's button, hat or
// stick becomes a key-down or key-up (unicode 0), the pad watch's tick is handled here.
// False when nothing is left for the screens (a stick inside its dead zone, the tick).
// Called by HostPollEvent and HostWaitEvent for every event they take.
bool TranslatePadEvent(SDL_Event& event);

// Takes the next key event that one pad event made beside the first (a hat moving from
// left to right releases one key and presses another). Called by HostPollEvent and
// HostWaitEvent before they ask SDL.
bool TakePendingPadEvent(SDL_Event& event);

// The key table with the pad's held keys added. Called by HostKeyState.
const uint8_t* MergePadKeys(const uint8_t* keys);
