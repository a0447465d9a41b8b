// The game window's handle, found by its caption once the video mode exists.
#pragma once

using WindowHandle = void*;

// The handle of the game's own window if its caption is the one asked for, else null.
// Called once by WinMain; message boxes take it as their owner.
WindowHandle FindWindowByCaption(const char* caption);

// The handle found at start-up (null before, or when there is no window).
extern WindowHandle MainWindow;
