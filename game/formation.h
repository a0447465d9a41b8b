// The enemy formation: 48 enemy slots in 6 rows of 8 that sweep, turn and drop as one block.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

#include "game/play_state.h"
#include "game/ship.h"

constexpr int16_t kEnemyWidth = 23;
constexpr int16_t kEnemyHeight = 18;
constexpr int16_t kEnemyShotSpeed = -6;  // six pixels down per frame

// One slot of the formation (slot 8 x row + column, rows from the top).
struct Enemy {
  Shot shot{nullptr, kEnemyShotSpeed, 0, 0, kShotStartY, 0};  // the enemy's only shot
  SDL_Surface* bodyImages[3] = {};  // strips of 23 x 18 frames; the one drawn is [hits]
  int16_t x = 0;                    // placed every frame from the formation
  int16_t y = 0;
  int16_t width = 0;                // 23 from the first level on
  int16_t height = 0;               // 18 from the first level on; rows are height + 2 apart
  int16_t cell = 0;                 // 0 empty, 1 to 3 the strength; 0 once destroyed
  uint8_t alive = 0;                // present: counts for the edges, fires, can be hit
  Ship* target = nullptr;           // whose shot hits this enemy and who scores
  int32_t fireTimer = 0;            // frames since the last fire decision; never reset
  int32_t firePeriod = 10;          // frames between fire decisions
  int16_t hits = 0;                 // hits it can still take before the fatal one
  int16_t points = 1;               // score for every hit
  int16_t frameCount = 1;           // 4 from the first level on
  int16_t frame = 0;                // body animation and explosion frame
  int32_t fireSalt = 0;             // row x column: salt of the fire draw
  uint8_t exploding = 0;            // the explosion is being drawn
  SDL_Surface* explosionImage = nullptr;  // strip of 23 x 18 explosion frames
};

// The block's shared motion.
struct Formation {
  int32_t x = 0;            // horizontal offset of the block
  int32_t y = 40;           // top of the block
  uint8_t movingRight = 1;
  uint8_t movingLeft = 0;
  int32_t liveCount = 0;    // live enemies
  uint8_t spedUp = 0;       // set when a kill leaves fewer than 10 enemies
};

// The 48 slots and the formation of the program.
extern Enemy Enemies[kFormationSlots];
extern Formation EnemyFormation;

// Moves the block one step and turns it at the edges, from the enemies' positions of the
// previous frame; a left turn with an enemy low enough ends the game. Called by StepFrame.
void MoveFormation();
// Counts the enemy's fire timer and, every firePeriod frames, may fire. Called by the
// enemy pass for every slot.
void EnemyTryFire(Enemy& enemy);
// Starts the enemy's shot below it unless that shot already flies. Called by EnemyTryFire.
void EnemyFire(Enemy& enemy);
// Tests the target ship's shot against the enemy: a hit scores and takes a hit away; the
// fatal one starts the explosion and gives 1. Called by the enemy pass.
int HitEnemy(Enemy& enemy);
// Draws the explosion or the animated body and the enemy's shot. Last in a slot's turn.
void DrawEnemy(Enemy& enemy);
