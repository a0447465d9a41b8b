// Frames of the 240 x 320 screen as text and as pictures, so that a golden replay that
// differs can show the frames that differ: a frame as runs of one colour ("f800*12 0000*300"),
// and a PNG file of one.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "tools/contentgen/png.h"

// The runs of one 16-bit colour of a 240 x 320 surface, row after row.
inline std::string EncodeFrame(const SDL_Surface* s) {
  std::string out;
  char run[24];
  for (int i = 0, count = 0; i < s->w * s->h; i += count) {
    const auto at = [s](int k) {
      return static_cast<const uint16_t*>(s->pixels)[k / s->w * s->pitch / 2 + k % s->w];
    };
    for (count = 1; i + count < s->w * s->h && at(i + count) == at(i);) ++count;
    std::snprintf(run, sizeof run, "%s%04x*%d", out.empty() ? "" : " ", at(i), count);
    out += run;
  }
  return out;
}

// Writes a frame given as runs into a PNG file (with the icons' PNG writer); false on failure.
inline bool WriteFramePng(const std::string& runs, const std::string& path) {
  Image image(240, 320);
  image.pixels.clear();
  std::istringstream in(runs);
  unsigned colour = 0, count = 0;
  for (char star; in >> std::hex >> colour >> star >> std::dec >> count;)
    for (; count > 0; --count)
      image.pixels.push_back({uint8_t((colour >> 11) * 255 / 31),
                              uint8_t((colour >> 5 & 63) * 255 / 63),
                              uint8_t((colour & 31) * 255 / 31)});
  std::string error;
  return image.pixels.size() == 240 * 320 && WritePng(path, image, &error);
}
