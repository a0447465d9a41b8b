// What the display already shows of the game's 240 x 320 screen, so that presenting scales
// and hands on only the rows that changed: an idle screen redrawn a hundred times a second
// then costs a comparison, not a hundred full-window uploads.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

#include "platform/screen.h"

constexpr int kMaxChangedBands = 8;

// A copy of what the display shows, row by row; a row not known (after a new video mode or
// an expose, or before the first present) counts as changed whatever it holds.
struct ShownCopy {
  uint16_t pixels[kScreenHeight][kScreenWidth];
  bool known[kScreenHeight];
};

// Where an area changed: runs of neighbouring changed rows, each as wide as the changes in
// it; the last band grows to take the rest when all are used.
struct ChangedBands {
  int count;
  SDL_Rect band[kMaxChangedBands];
};

// Compares an area (inside the screen) of the 240 x 320, 16-bit screen with the copy, takes
// the changes into the copy and says where they lie. Called by PresentScreen.
ChangedBands TakeChanges(ShownCopy& shown, const SDL_Surface* screen, const SDL_Rect& area);

// Makes every row count as changed: the display was cleared or lost its picture. Called when
// a video mode is set and when the window is exposed.
void ForgetShown(ShownCopy& shown);
