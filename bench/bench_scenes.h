// Game situations the benchmarks and the instruction counts replay.
#pragma once
#include <cstdint>

#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/game_state.h"
#include "game/launcher.h"
#include "game/ship.h"

// Every object a play frame reads or changes, copied whole.
struct PlayScene {
  Ship ship;
  Enemy enemies[kFormationSlots];
  Formation formation;
  GiftLauncher launcher;
  Brick bricks[kBrickCount];
  Star stars[kStarCount];
  PlayState play;
  int32_t level;
};

// Frames played from the scene before it is restored (half a second of play).
constexpr int kSceneFrames = 10;

// The first level a few frames in: all 48 enemies, 50 stars, three whole bricks, the ship
// moving right with its shot half-way up, the bottom row's eight shots falling and a gift
// dropping; no banner. Needs SetUpGame first. Returns the scene and leaves the game in it.
PlayScene MakeMidLevelScene();
// Puts the game objects back as the scene holds them.
void RestoreScene(const PlayScene& scene);
