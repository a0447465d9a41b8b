// The web page as the game's host: its input in place of SDL's window, its folders in place
// of the desktop's. The page's script (web/page.js) hands every key, tap, touch, pad change
// and focus change to SDL's queue through the functions exported below.
#pragma once
#include "platform/host.h"

// Lays out the browser's file system as the desktop's game folder looks, with the settings
// folder kept in the browser's storage (read from it before this returns), names SDL's
// video driver and tells the page a kept full screen. Called once by the browser's main
// before WinMain.
void PreparePage();

// The page's input host: waits sleep until the page has input for the game. Installed by
// the browser's main with UseHostInput.
HostInput& PageInput();

extern "C" {
// A key pressed (down 1) or let go (down 0), as SDL's key code and its character (0: none).
void PageKey(int down, int sym, int unicode);
// The stylus at a game pixel: kind 0 moves it, 1 puts it down, 2 lifts it.
void PagePointer(int kind, int x, int y);
// The page gained (1) or lost (0) the player's attention: a hidden tab or a lost focus.
void PageFocus(int gained);
// The page's full screen turned on (1) or off (0), by its button, F11, Alt+Enter or the
// browser; the game stores the choice as the desktop's display choice.
void PageFullScreen(int on);
// A pad's control changed, in SDL's game-controller numbering: kind 0 a button let go,
// 1 a button pressed, 2 an axis moved to value (-32767 to 32767).
void PagePad(int kind, int control, int value);
}
