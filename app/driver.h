// The main driver: loads everything, then alternates between the menu and play.
#pragma once
#include "game/flow_code.h"

// The help text read from data/story, zero-terminated, owned for the whole run.
extern char* StoryText;

// Loads settings, shows the start screen, loads the images, the font and the help text,
// then runs the menu/play state machine until the player quits. Called once by WinMain.
FlowCode RunGame();
