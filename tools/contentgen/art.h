// The drawing kit shared by every generated picture: the fixed-seed random source,
// starfields, dithered nebulae and planets, the one button style, text panels and the
// two explosion strips.
#pragma once
#include <cstdint>
#include <vector>

#include "tools/contentgen/image.h"
#include "tools/contentgen/sources.h"
#include "tools/contentgen/text.h"

// A small xorshift generator: the same seed always gives the same pictures.
struct Random {
  uint32_t state;
  explicit Random(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int Below(int n) { return int(Next() % uint32_t(n)); }
};

// The 4 x 4 ordered-dither threshold of a pixel, 0..15.
int Bayer(int x, int y);

// Scatters `count` stars over the rectangle: mostly dim single pixels, a few bright
// crosses.
void Starfield(Image& image, const Palette& palette, uint32_t seed, int count, int x, int y,
               int w, int h);
// A soft cloud centred on (cx, cy) with radii (rx, ry), dithered through `colours` from the
// edge inwards, with a little seeded unevenness.
void Nebula(Image& image, uint32_t seed, int cx, int cy, int rx, int ry,
            const std::vector<Rgb>& colours);
// A ball lit from the upper left, shaded through `colours` from dark to light.
void Planet(Image& image, int cx, int cy, int r, const std::vector<Rgb>& colours);

// The one button style: a dark rim, a bevelled steel face, the label centred in white.
// The face fills the touch area (left, top)-(right, bottom), edges exclusive.
void DrawButton(Image& image, const Palette& palette, const Font& font, int left, int top,
                int right, int bottom, const std::string& label);
// A button with an arrow instead of a label.
void DrawArrowButton(Image& image, const Palette& palette, int left, int top, int right,
                     int bottom, bool pointsLeft);
// A calm dark text panel with a thin steel frame around (left, top)-(right, bottom).
void DrawPanel(Image& image, const Palette& palette, int left, int top, int right, int bottom);
// A solid plate with cut corners and a steel rim, for words drawn over the play field:
// the corners outside the cut keep what was there (black, so they stay keyed).
void DrawPlate(Image& image, const Palette& palette, int left, int top, int right, int bottom);

// The enemies' explosion: five 23 x 18 frames on black (keyed).
Image MakeEnemyExplosion(const Palette& palette);
// The ship's explosion: five 30 x 30 frames on the play field's colour (opaque).
Image MakeShipExplosion(const Palette& palette);
