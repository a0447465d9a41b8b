// The on-screen keyboard's state, kept for the whole run (carries over between entries
// and shows on the high-score screen).
#pragma once
#include <cstdint>

// 0 shows the small keys and takes normal codes, 1 the large keys and large codes.
extern int32_t largeKeys;
// A one-shot Shift is waiting for the next key.
extern uint8_t shiftPending;
