// The events the front end's screens read, what the menu's screens return, and what a screen
// does with the input of before it showed: keys pressed during play, the ship's explosion, the game-over picture or any
// other pause do not act on the screen that comes next, and a key still held from then
// needs a fresh press there. Taps go by each screen's own rule: the main menu drops them,
// the other screens take them in order.
#pragma once
#include <SDL/SDL.h>

// What the menu's sub-screens return.
constexpr int kScreenClosed = 1;     // closed by its own button
constexpr int kSupportWanted = 2;    // the about screen's support button
constexpr int kScreenQuitEvent = 3;  // an SDL_QUIT event arrived

// Drops every event waiting, taps and keys alike, and forgets the held keys. Called by
// RunMainMenu once it has drawn itself on entry.
void DropWaitingEvents();

// Drops the key presses and releases waiting (the pad's buttons among them), keeps every
// other event for the screen in its order, and forgets the held keys: until a key goes down
// on this screen, the characters the system repeats for a key held from before are dropped.
// Called by every screen once it has drawn itself, and by the main menu after a sub-screen.
void StartScreenInput();

// Waits for the next event for the screen; a failed wait counts as a request to close
// (SDL_QUIT), so no screen can spin on a broken queue. Used by every blocking screen.
void WaitForScreenEvent(SDL_Event& event);

// Takes the next event for the screen without waiting; false when there is none. Used by
// the name entry, which polls.
bool PollScreenEvent(SDL_Event& event);
