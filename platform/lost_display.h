// The end of the game when its X display goes away (a crash, a logout, a dropped remote
// session).
#pragma once

// From now on a broken connection to the X display ends the program at once with a
// one-line message on standard error and exit status 1. Nothing else runs on the way out:
// closing SDL would wait forever on the dead connection, the settings file is only ever
// replaced whole, and the instance lock goes with the process. Called by StartUp once the
// video mode is set; without an X display it changes nothing.
void EndOnLostDisplay();
