// Where the viewer of a replay reads that a replay plays and at what speed.
#pragma once

// Shows the replay's state ("ZORBLATS replay x2", "... paused", "... over"): the window's title
// on the desktop, a corner of the page in the browser. Called by the replay player.
void ShowReplayStatus(const char* text);
