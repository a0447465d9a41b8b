// The gift launcher that crosses the top of the play field, the gift it drops when shot, and
// the timed effect that a caught gift starts.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

#include "game/ship.h"

// What a caught gift does; 1 is never drawn (a draw of 1 becomes Reverse).
enum GiftKind : int16_t {
  Reverse = 0,    // the formation steps against its direction (or stands while sped up)
  ExtraLife = 2,  // one more life, at once and for good
  ShipSpeed = 3,  // the ship moves 2 pixels per frame faster
  ChainKill = 4   // each kill also removes the live enemy directly above
};

constexpr int16_t kLauncherStartY = 15;
constexpr int16_t kLauncherRightLimit = 210;
constexpr int16_t kLauncherFrameWidth = 50;
constexpr int16_t kGiftSize = 12;
constexpr int32_t kEffectFrames = 100;

// The launcher, its falling gift and the running effect.
struct GiftLauncher {
  int16_t speed = 1;          // launcher pixels per frame, rightward
  int16_t fallSpeed = 3;      // gift pixels per frame, downward
  int16_t x = 0;              // left edge of the launcher or of the gift
  int16_t y = 0;              // top edge; 15 from level start
  uint8_t reverseOn = 0;      // Reverse acts
  uint8_t speedOn = 0;        // ShipSpeed acts
  uint8_t chainOn = 0;        // ChainKill acts
  SDL_Surface* launcherImage = nullptr;  // 50-pixel frames; frames 2 and 3 are shown
  SDL_Surface* giftImage = nullptr;      // 12 x 12 frames, frame k for kind k
  uint8_t movingRight = 0;    // the launcher is crossing
  uint8_t falling = 0;        // a gift is falling
  int16_t kind = Reverse;     // kind of the falling gift and of the running effect
  Ship* target = nullptr;     // the ship that shoots and catches
  int32_t effectTime = kEffectFrames;  // frames an effect lasts
  int32_t effectTimer = 0;    // frames the running effect has lasted
  uint8_t effectActive = 0;   // an effect runs (ExtraLife too: it only blocks launches)
  int32_t frame = 0;          // launcher animation frame, 0 or 1
};

// The one launcher of the program.
extern GiftLauncher Launcher;

// Moves a crossing launcher or a falling gift, catches the gift on the ship, and counts the
// running effect down. Called by StepFrame after the ship and its shot.
void UpdateLauncher(GiftLauncher& launcher);
// While idle, may start a crossing (never while an effect runs). Called by StepFrame right
// after UpdateLauncher.
void TryStartLauncher(GiftLauncher& launcher);
// Draws the falling gift or the crossing launcher. Called by UpdateAndDraw after the ship.
void DrawLauncher(GiftLauncher& launcher);
// Tests the ship's shot against the launcher or the gift; a hit drops a gift of a newly
// drawn kind. Called by UpdateAndDraw right after DrawLauncher, before the enemy pass.
void HitLauncher(GiftLauncher& launcher);
