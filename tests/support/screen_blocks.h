// Finding where a colour landed on the screen: tests give each glyph or picture its own
// solid colour and check the exact rectangle it covers.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "resources/draw.h"

struct Block {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1, pixels = 0;
};

// The bounding box and pixel count of one raw colour on the screen.
inline Block Find(uint16_t colour) {
  Block b;
  for (int y = 0; y < ScreenSurface->h; ++y) {
    for (int x = 0; x < ScreenSurface->w; ++x) {
      if (ReadPixel(x, y, ScreenSurface) != colour) continue;
      b.left = std::min(b.left, x);
      b.top = std::min(b.top, y);
      b.right = std::max(b.right, x + 1);
      b.bottom = std::max(b.bottom, y + 1);
      ++b.pixels;
    }
  }
  return b;
}

// True when exactly the solid rectangle (x, y, w, h) of the screen has this colour.
inline ::testing::AssertionResult IsBlockAt(uint16_t colour, int x, int y, int w, int h) {
  const Block b = Find(colour);
  if (b.left == x && b.top == y && b.right == x + w && b.bottom == y + h && b.pixels == w * h) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "colour " << colour << " covers (" << b.left << "," << b.top << ")-(" << b.right
         << "," << b.bottom << ") with " << b.pixels << " pixels; expected (" << x << "," << y
         << ") size " << w << "x" << h;
}
