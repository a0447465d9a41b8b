// Keys and pad buttons on the front end's screens: what a key means there, the focus mark
// that shows which button Enter presses, and moving it over a screen's buttons.
#pragma once
#include <SDL/SDL.h>

#include "platform/rect.h"

// What a key means on a screen of buttons.
enum class NavKey {
  None,
  Next,      // Down, Tab: the next button in screen order
  Previous,  // Up, Shift+Tab
  Left,      // page back (help), the choice before (options)
  Right,     // page on, the choice after
  Press,     // Enter, Space: press the marked button
  Back,      // Escape, Backspace: Back, Close or No
};

// The meaning of an event as a navigation key (None for everything but a key-down).
// Called by every screen's event loop.
NavKey ReadNavKey(const SDL_Event& event);

// For buttons side by side: Left and Right move the mark as Up and Down do. Used by the
// message boxes, the high-score, about and support screens.
NavKey AlongRow(NavKey key);

// Moves the mark of a screen with `count` buttons for a navigation key. Until the first
// navigation key the mark is hidden (marked -1), so a player who only taps never sees it:
// that key only shows it, on button 0. True when the mark was shown or moved (the screen
// redraws it); Press, Back, Left and Right with the mark showing are left to the screen.
bool MoveFocus(int& marked, int count, NavKey key);

// Draws the focus mark's four corners at the corners of an area, just outside it.
// Nothing is presented. Called by the screens after they draw themselves.
void DrawFocusMark(const Rect& area);

// The point a tap on the middle of an area gives: Enter presses the marked button as that
// tap would. Used by the main menu and the high-score screen.
void TapPointOf(const Rect& area, int32_t& x, int32_t& y);

// Presents the screen with the mark on areas[marked], when `marked` is not -1. Used by
// screens whose own drawing already ended with a flip.
void ShowFocusMark(const Rect* areas, int marked);
