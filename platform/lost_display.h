// The end of the game when its display goes away (an X server or a Wayland compositor
// crashing, a logout, a dropped remote session). The page is the browser's display: it cannot
// go away while the game runs in it, and there both calls do nothing.
#pragma once

// From now on a broken connection to the display ends the program at once with a one-line
// message on standard error and exit status 1. Nothing else runs on the way out: closing SDL
// would wait forever on the dead connection, the settings file is only ever replaced whole,
// and the instance lock goes with the process. Under X this is Xlib's handler; under Wayland
// it notes SDL's connection to the compositor for EndIfDisplayLost. Called by StartUp once the
// video mode is set; without a display it changes nothing.
void EndOnLostDisplay();

// Ends the program as above when the Wayland compositor the game draws through has closed
// its end of the connection (it ended or crashed); returns otherwise. SDL reports a lost
// compositor as the window's quit, so this is called on every quit event SDL hands over
// (TakeWindowEvent) and by long delays that find one queued (the SDL host).
void EndIfDisplayLost();
