// The game's 240 x 320 screen as a back end shows it. The game draws into a 16-bit surface of
// that size; presenting hands what changed to the back end's display (the desktop's window or
// full screen, platform/desktop/; the page's canvas, platform/web/), and the window's own
// events are dealt with before the game sees them, so taps reach it in game pixels.
#pragma once
#include <SDL/SDL.h>

// The handheld's screen: what the game draws and what every back end shows.
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

// Chooses SDL's video driver and sets its switches for the display, before SDL starts. Called
// once by StartUp; each back end provides it.
void PrepareScreen();

// Makes the game's 240 x 320 16-bit surface and shows it; null when no video mode can be set.
// Called once by StartUp. Each back end provides it.
SDL_Surface* OpenGameScreen();

// Where the game's flips go: the back end's display, or what a test installs to see exactly
// what the game shows.
class ScreenOutput {
 public:
  virtual ~ScreenOutput() = default;
  // Shows an area of the screen surface: clipped to it, never empty.
  virtual void Show(SDL_Surface* screen, const SDL_Rect& area) = 0;
};

// The back end's display: only the rows that changed since they were last shown reach the
// window or the canvas. Where flips go unless a test chose otherwise; each back end provides it.
ScreenOutput& DisplayOutput();

// Chooses the output; null restores the display. Tests install a recorder.
void UseScreenOutput(ScreenOutput* output);

// Hands the area of the screen (the whole when null), clipped to the screen, to the output;
// an area outside the screen shows nothing. Called by FlipScreen.
void PresentScreen(SDL_Surface* screen, const SDL_Rect* area);

// Looks at an event from SDL's queue before the game: true when it was the window's own (a
// mode switch, a press outside the picture) and the game must not see it. Taps are mapped to
// game pixels on the way. Called by the SDL host; each back end provides it.
bool TakeWindowEvent(SDL_Event& event);
