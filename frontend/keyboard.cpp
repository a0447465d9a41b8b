// The on-screen keyboard's state: one copy for the whole run, shared by the name entry
// and the high-score screen's keyboard picture.
#include "frontend/keyboard.h"

int32_t largeKeys = 0;
uint8_t shiftPending = 0;
