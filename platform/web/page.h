// The web page as the game's host, and the whole interface between the game's C++ and the
// page's script (web/page.js, its `page` object): the calls from C++ into the page, defined
// in page.cpp as EM_JS blocks, and the functions the page calls with the player's input.
#pragma once
#include "platform/host.h"

// Lays out the browser's file system as the desktop's game folder looks, with the settings
// folder kept in the browser's storage (read from it before this returns), and tells the page
// a kept full screen. Called once by the browser's main before WinMain.
void PreparePage();

// The page's input host: waits sleep until the page has input for the game. Installed by
// the browser's main with UseHostInput.
HostInput& PageInput();

// The calls into the page that the back end's other units make; each returns at once. (Those
// only page.cpp makes are there: mounting and storing the saves, sleeping until the page has
// input, keeping the full screen.)
extern "C" {
// Draws a rectangle of the 16-bit (5-6-5) screen into the canvas. Called by the display.
void DrawOnPage(const void* pixels, int pitch, int x, int y, int w, int h);
// 1 while the page holds the site's lock (one game per browser). Called by AcquireInstanceLock.
int PageHoldsGameLock();
// Makes the page's audio context; 1 when the browser has Web Audio. Called by OpenSound.
int OpenPageAudio();
// Closes the audio context. Called by CloseSound.
void ClosePageAudio();
// Hands the page a wave file's bytes to decode (none when it cannot be read, which stays
// silent). Called by LoadWaveFile.
void LoadPageSound(const char* path);
// Plays a decoded sound; nothing before the player's first tap or key. Called by the page's
// sound output.
void PlayPageSound(const char* path);
}

// The calls from the page, with the player's input.
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
