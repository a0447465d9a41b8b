// Drawing primitives: presenting the screen, whole and partial blits, raw pixel reads.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

#include "platform/screen.h"

// The game's 240 x 320, 16-bit screen: the target of every blit. Set once by StartUp.
extern SDL_Surface* ScreenSurface;

// Shows the whole of ScreenSurface. Called after every composed frame or screen.
void FlipScreen();

// Shows one rectangle of ScreenSurface. Called by the ship's explosion.
void FlipScreenPart(const SDL_Rect& area);

// Copies the whole surface with its top-left corner at (x, y); returns SDL_UpperBlit's result.
int BlitImage(SDL_Surface* surface, int16_t x, int16_t y);

// Copies the rectangle (sourceX, sourceY, width, height) of the surface to (x, y).
int BlitImagePart(SDL_Surface* surface, int16_t x, int16_t y, uint16_t width, uint16_t height,
                  int16_t sourceX, int16_t sourceY);

// The raw pixel value at (x, y), or 0xFFFFFFFF for a null surface or a point outside it.
// Used by the fonts (glyph markers) and by LoadImages (the white font's colour key).
uint32_t ReadPixel(int32_t x, int32_t y, SDL_Surface* surface);
