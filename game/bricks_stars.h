// The three bricks that shield the ship, cell by cell, and the 50 falling background stars.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

constexpr int kBrickCount = 3;
constexpr int kBrickCells = 8;     // 2 rows of 4 cells
constexpr int kBrickCellSize = 15;
constexpr int kStarCount = 50;
constexpr int kStarImages = 5;

// Cell damage: whole, worn, or gone (a hole shots pass through).
constexpr int16_t kCellWhole = 0;
constexpr int16_t kCellWorn = 1;
constexpr int16_t kCellGone = 2;

// A brick of 2 x 4 cells of 15 x 15 pixels.
struct Brick {
  int16_t x = 0;                     // left edge: 9, 89, 169 with a 30-pixel Brick.bmp
  int16_t y = 0;                     // top edge: 200 in play
  uint8_t visible = 0;               // drawn, and enemy shots test it
  SDL_Surface* image = nullptr;      // whole cells, 60 x 30
  SDL_Surface* damagedImage = nullptr;  // worn cells, same layout
  int16_t damage[kBrickCells] = {};  // per cell: whole, worn, gone
};

// A background star that falls and drifts against the ship's motion.
struct Star {
  int16_t fallSpeed = 0;   // pixels per frame downward, 1 to 7
  int16_t driftSpeed = 1;  // pixels per frame sideways, 1 or 2
  int16_t x = 0;
  int16_t y = 0;
  SDL_Surface* images[kStarImages] = {};
  int32_t imageIndex = 0;  // 0 to 4
};

// The bricks (left to right) and stars of the program.
extern Brick Bricks[kBrickCount];
extern Star Stars[kStarCount];

// Wears the cell under the point unless it is gone; 1 when it wore one. Called by the enemy
// pass for enemy shots and after it for the ship's shot; the caller retires the shot on 1.
int HitBrick(Brick& brick, int32_t px, int32_t py);
// Draws the whole and worn cells. Called by UpdateAndDraw for each visible brick.
void DrawBrick(const Brick& brick);
// Drifts the star against the ship's motion and lets it fall; a star below the screen comes
// back at the top with new random values. Called for every star right after the background.
void MoveStar(Star& star);
// Draws the star's picture. Called right after MoveStar.
void DrawStar(const Star& star);
