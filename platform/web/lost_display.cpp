// The page is the display: it cannot go away while the game runs in it.
#include "platform/lost_display.h"

void EndOnLostDisplay() {}
void EndIfDisplayLost() {}
