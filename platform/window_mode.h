// The desktop's view of the game's 240 x 320 screen: a window or the full screen, both at a
// whole-number scale with sharp pixels, the full screen centred on black. The game draws
// into its own 240 x 320 surface; presenting it scales it onto the real video surface, and
// taps on the real surface are mapped back to game pixels before the game sees them.
// Alt+Enter and F11 switch between the two at any moment; the choice is kept in the
// display config file.
#pragma once
#include <SDL/SDL.h>

#include "platform/work_area.h"

// Where the picture sits on the real video surface.
struct ScreenLayout {
  int width, height;  // the video surface: the window, or the whole desktop in full screen
  int scale;          // each game pixel is scale x scale pixels
  int left, top;      // the picture's top-left corner
};

// The picture on a video surface of that size (the full screen's desktop, or a window
// the compositor sized): the largest whole scale that fits (at least 1), centred; a surface
// smaller than scale 1 grows to hold it. Called by SetMode; tests call it directly.
ScreenLayout FitScreen(int width, int height);

// A window on the desktop: its layout and where its frame's top-left corner goes.
struct WindowPlace {
  ScreenLayout layout;
  int x, y;
};

// The window at the largest whole scale up to 4 (at least 1) whose window with its frame
// fits the work area, the frame centred in the work area (kept inside from the top-left
// when even scale 1 is too big). Called by SetMode; tests call it directly.
WindowPlace FitWindow(const WorkArea& area);

// The game pixel under a point of the video surface, clamped to the picture; false when
// the point lies outside the picture. Called by TakeWindowEvent; tests call it directly.
bool MapToGame(const ScreenLayout& layout, int x, int y, int& gameX, int& gameY);

// How the game starts: as the config file says, or as the command line asks for this run.
enum class StartMode { Remembered, Window, FullScreen };
// Called by main before start-up.
void ChooseStartMode(StartMode mode);

// Sets the video mode and returns the game's 240 x 320 16-bit surface, or null when no
// video mode can be set. Called once by StartUp.
SDL_Surface* OpenGameScreen();

// Where the game's flips go: the display (the default), or what a test installs to see
// exactly what the game shows.
class ScreenOutput {
 public:
  virtual ~ScreenOutput() = default;
  // Shows an area of the screen surface: clipped to it, never empty.
  virtual void Show(SDL_Surface* screen, const SDL_Rect& area) = 0;
};

// Chooses the output; null restores the display. Tests install a recorder.
void UseScreenOutput(ScreenOutput* output);

// Hands the area of the screen (the whole when null) to the output. On the display, the
// rows of the game's surface that changed since they were last shown are scaled onto the
// video surface and updated; any other surface is updated as SDL does. Called by FlipScreen.
void PresentScreen(SDL_Surface* screen, const SDL_Rect* area);

// Switches between the window and the full screen, shows the picture again and remembers
// the choice. False when neither the new nor the old mode could be set.
bool ToggleFullScreen();

// Looks at an event from SDL's queue before the game: the switching keys are taken (true:
// the game must not see it), taps and pointer moves are mapped to game pixels (a press
// outside the picture is taken), an exposed window is shown again. Called by the SDL host.
bool TakeWindowEvent(SDL_Event& event);
