// The desktop's view of the game's screen: a window or the full screen, both at a whole-number
// scale with sharp pixels, the full screen centred on black. Presenting scales the game's
// surface onto the real video surface, and taps on the real surface are mapped back to game
// pixels before the game sees them (platform/screen.h). Alt+Enter and F11 switch between the
// two at any moment; the choice is kept in the display config file. On a scaled Wayland output
// both are drawn in the output's device pixels (platform/desktop/wayland_window.h).
#pragma once
#include "platform/desktop/work_area.h"

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

// Switches between the window and the full screen, shows the picture again and remembers
// the choice. False when neither the new nor the old mode could be set. Called for Alt+Enter
// and F11 (TakeWindowEvent).
bool ToggleFullScreen();
