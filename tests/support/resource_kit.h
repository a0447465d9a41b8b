// Helpers for the resource, text and content tests: painted pictures and fonts whose every
// pixel says where it came from, a text digest of what the screen shows, a byte builder.
#pragma once
#include "platform/paths.h"
#include "resources/draw.h"
#include "tests/support/harness.h"

using Bytes = std::vector<uint8_t>;
inline const std::string kGameDir = ZORBLATS_GAME_DIR;

// Appends an unsigned value of `size` bytes, little-endian.
inline void Put(Bytes& out, uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The painted fonts' glyph colours (PaintedFont), and the colour of the help pictures.
constexpr uint16_t kRegularBase = 0x4000, kBoldBase = 0x6000, kPicture = 0x07E0;

// What the screen shows, as text: every glyph of the painted fonts as its character and
// top-left corner ("a10,20", bold ones "*a"), the top-left corner of the pictures of colour
// kPicture ("P43,30"), and the count of all pixels that are not black (so that sizes count too).
inline std::string Digest() {
  std::string out, picture;
  int lit = 0;
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x) {
      const uint32_t p = ReadPixel(x, y, ScreenSurface);
      lit += p != 0;
      if (p == kPicture && picture.empty())
        picture = "P" + std::to_string(x) + "," + std::to_string(y) + " ";
      if (p != kRegularCorner && p != kBoldCorner) continue;
      const int k = static_cast<int>(ReadPixel(x + 1, y, ScreenSurface)) -
                    (p == kBoldCorner ? kBoldBase : kRegularBase);
      out += (p == kBoldCorner ? "*" : "") + std::string(1, static_cast<char>(33 + k)) +
             std::to_string(x) + "," + std::to_string(y) + " ";
    }
  return out + picture + std::to_string(lit);
}
