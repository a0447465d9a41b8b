// The player's ship and the shot record that the ship and every enemy use.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

// A projectile: the ship's shot flies up, an enemy's shot falls. Its hit point is (x, y).
struct Shot {
  SDL_Surface* image = nullptr;  // drawn whole with its top-left corner at (x, y)
  int16_t speed = 0;             // pixels per frame, positive upward (ship 9, enemies -6)
  int16_t x = 0;                 // left edge and hit point
  int16_t y = 0;                 // top edge and hit point
  int16_t startY = 234;          // where the ship's shot starts and where a lost shot goes back
  uint8_t inFlight = 0;          // moving, drawn and tested
};

constexpr int16_t kShipShotSpeed = 9;
constexpr int16_t kShotStartY = 234;
constexpr int16_t kShipNormalSpeed = 4;
constexpr int16_t kShipRightLimit = 210;  // the ship's right edge then meets the screen's

// The player's ship; it also carries the running game's lives and score.
struct Ship {
  Shot shot{nullptr, kShipShotSpeed, 0, 0, kShotStartY, 0};  // the ship's only shot
  SDL_Surface* bodyImage = nullptr;  // strip of 30 x 30 frames, set per level
  int16_t speed = kShipNormalSpeed;  // pixels per frame; 6 while the speed gift acts
  uint8_t movingLeft = 0;            // set and cleared by the key handling only
  uint8_t movingRight = 0;
  int16_t x = 120;                   // left edge, 0 to 210 in play
  int16_t y = 120;                   // top edge; 234 from the first level on
  int16_t width = 0;                 // 30 from the first level on; hit rectangle
  int16_t height = 0;
  int16_t lives = 3;
  int32_t score = 0;
  int16_t frameCount = 4;            // the animation shows frames 0 to frameCount - 3
  int16_t frame = 0;
};

// The one ship of the program.
extern Ship PlayerShip;

// Moves the ship by its direction flags, kept within 0..210. Called first by StepFrame.
void MoveShip(Ship& ship);
// Moves a shot in flight by its speed and retires it above row 0 or below row 264.
// Called by StepFrame for the ship's shot and by the enemy pass for every enemy's shot.
void MoveShot(Shot& shot);
// Draws a shot in flight. Called by UpdateAndDraw for the ship's shot.
void DrawShot(const Shot& shot);
// Advances the two-frame animation and draws the ship. Called once per drawn frame.
void DrawShip(Ship& ship);
// Fires the ship's shot from row 234, centred on the ship, unless it already flies.
// Called by the key handling of RunGameLoop for the up key and for left control.
void FireShot(Ship& ship);
