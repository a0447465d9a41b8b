// (being written: the load sequence and the menu/play state machine)
#include "app/driver.h"

char* StoryText = nullptr;

FlowCode RunGame() { return Quit; }
