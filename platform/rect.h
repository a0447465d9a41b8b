// Touch areas and the handheld's point-in-rectangle rule.
#pragma once
#include <cstdint>

// A touch area in screen pixels; right and bottom lie outside.
struct Rect {
  int32_t left, top, right, bottom;
};

// Inside when left <= x < right and top <= y < bottom. Used by every hit test and touch area.
constexpr bool PtInRect(const Rect& r, int32_t x, int32_t y) {
  return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}
