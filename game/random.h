// The reseeded random draw that all the game's randomness uses: the stars, the enemies' fire
// and the gift launcher.
#pragma once
#include <cstdint>

// An integer in [low, high), reseeded from the clock, the last result and the salt on every
// call; high must be above low. Called by the stars, the enemies' fire and the gift launcher.
int32_t RandomInRange(int32_t low, int32_t high, int32_t salt);

// Puts the draw back as at program start: its last result 1. Called by ResetRunState.
void ResetRandom();
