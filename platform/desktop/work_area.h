// The desktop's room for the game's window under X11: the work area the window manager
// leaves free of panels and docks, the frame it draws around a window, and the size the
// game's window really has. Without an X display (Wayland, no video) none of it is known:
// the compositor places and sizes the window itself.
#pragma once

// The part of the screen a window may take, in desktop pixels, and the frame (title bar,
// borders) the window manager adds on each side of a window's own area.
struct WorkArea {
  int left, top, width, height;
  int frameLeft, frameRight, frameTop, frameBottom;
};

// The work area on a screen of that size: the window manager's _NET_WORKAREA for the
// current desktop, cut to the screen, and the frame it reports for a new window (an
// allowance for a title bar when it does not say); the whole screen and no frame without
// a window manager or an X display. Called by OpenGameScreen.
WorkArea ReadWorkArea(int screenWidth, int screenHeight);

// The game's window's real size, which a tiling window manager may have changed; false
// when it cannot be read. Called when SDL reports the window resized.
bool ReadGameWindowSize(int& width, int& height);
