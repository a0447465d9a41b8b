// Requests from the system to end the program: SIGTERM (a session ending, `kill`), SIGINT
// (Ctrl+C in a terminal) and SIGHUP (the terminal closing). They are not the window's close
// button: that one closes only the screen it reaches, while these end the whole game.
#pragma once
#include <SDL/SDL.h>

// Installs the game's own handlers for the three signals and keeps SDL from turning them
// into the window's quit event. Called by StartUp before SDL_Init.
void CatchEndSignals();

// True once one of the three signals has arrived. Read by the host seam.
bool EndRequested();

// What the host hands a screen once the end is requested: every wait gives SDL_QUIT, and
// polls give SDL_QUIT and "no event" by turns, so loops that drain the queue still finish.
// Each screen then closes as on the window's close, saving what it saves on leaving, until
// the main menu ends the program. Called by HostPollEvent and HostWaitEvent.
int TakeEndEvent(SDL_Event* event, bool poll);

// True for a quit event that ends the whole program, not just the screen. Called by loops
// that otherwise ignore quit events (the name entry's key press while the stylus is down).
bool IsEndOfProgram(const SDL_Event& event);
