// What one game carries from level to level besides its objects: the play state that the
// frame step, the game objects and the game loop tell each other, the current level, and the
// shape of the block of enemies that every level lays out. Below every game object, so that
// each reads and sets it without knowing the others.
#pragma once
#include <cstdint>

// The block of enemies: 6 rows of 8 slots, in every level's layout and in the formation.
constexpr int kFormationRows = 6;
constexpr int kFormationColumns = 8;
constexpr int kFormationSlots = kFormationRows * kFormationColumns;

// What the frame step tells the game loop, and the level's chance terms.
struct PlayState {
  uint8_t levelDone = 0;              // the last enemy is gone; cleared by RunGameLoop
  uint8_t gameOver = 0;               // no life left, or the formation landed
  uint8_t showBanner = 0;             // the level's first drawn frame shows the banner
  uint8_t layout[kFormationSlots] = {};  // the current level's row of LevelTable
  int32_t enemyFireChance = 30;       // set per level from the difficulty (7, 20, 30)
  int32_t launchChance = 10;          // chance term of the launcher's start
};

// The play state of the program.
extern PlayState Play;
// The level counter 0 to 24, shown as CurrentLevel + 1; advanced and wrapped by the driver.
extern int32_t CurrentLevel;
