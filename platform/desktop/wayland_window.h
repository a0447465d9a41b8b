// The game's window under a Wayland compositor. A compositor measures windows in its own
// units (an output at scale 2 is 960 x 540 units on a 1920 x 1080 panel) and stretches a
// window drawn in units by the output's scale: at 1.25, 2.5 panel pixels to a game pixel. The
// SDL 1.2 layer here (sdl12-compat over SDL2) can draw at the panel's own pixels instead:
// asked for high-DPI windows, it gives a window a drawable of its size in device pixels
// (behind a viewport at a fractional scale), and a video surface of that size is shown pixel
// for pixel. The window's size in units is then set through sdl12-compat's window scaling,
// and its drawable's size is read from the SDL2 window beneath, which sdl12-compat hands out.
#pragma once

// True when the session's Wayland compositor (WAYLAND_DISPLAY) takes a connection. Called by
// PrepareScreen before SDL chooses its video driver.
bool WaylandCompositorAnswers();

// A window's size in device pixels (its video surface) and in the compositor's units.
struct WindowSize {
  int width, height;
  int unitsWide, unitsHigh;
};

// Under Wayland with sdl12-compat: asks it for high-DPI windows (unless the user said
// SDL12COMPAT_HIGHDPI=0), turns the desktop's size in units into device pixels (the output's
// mode) and returns true. Elsewhere false, the size left as it is. Called by OpenGameScreen
// before the first video mode with SDL's size of the desktop.
bool PrepareWaylandWindow(int& desktopWide, int& desktopHigh);

// A window of that many device pixels: the fewest whole units that hold it, at the desktop's
// pixels to a unit. Called by SetMode for a window of the game's own choosing.
WindowSize WindowOfPixels(int width, int height);

// The next windowed video mode, of size.width x size.height, makes a window of size.unitsWide
// x size.unitsHigh units. Called by OpenVideo before SDL_SetVideoMode.
void AskWindowUnits(const WindowSize& size);

// Lets the compositor size the window at will: SDL2 keeps a window it thinks fixed at its old
// size when the compositor floats it. sdl12-compat marks the window fixed again at each video
// mode. Called by OpenVideo after each windowed mode.
void LetCompositorResize();

// The window's size as SDL2 draws it; false when the window cannot be reached. Called after a
// windowed video mode and when the compositor resized the window.
bool ReadWindowSize(WindowSize& size);
