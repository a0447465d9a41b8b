// Frames of the 240 x 320 screen as text and as pictures, so that a golden replay that
// differs can show the frames that differ: a frame as runs of one colour ("f800*12 0000*300"),
// and a PNG file of one.
#pragma once
#include <SDL/SDL.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// Writes a frame given as runs into a PNG file (8-bit RGB, one zlib stream); false on failure.
inline bool WriteFramePng(const std::string& runs, const std::string& path) {
  std::vector<uint8_t> raw;  // each row: the filter byte 0, then R, G, B of each pixel
  std::istringstream in(runs);
  unsigned colour = 0, count = 0;
  for (char star; in >> std::hex >> colour >> star >> std::dec >> count;)
    for (; count > 0; --count) {
      if (raw.size() % (1 + 3 * 240) == 0) raw.push_back(0);
      for (int shift : {11, 5, 0}) {
        const unsigned bits = shift == 5 ? 6 : 5, v = (colour >> shift) & ((1u << bits) - 1);
        raw.push_back(static_cast<uint8_t>(v * 255 / ((1u << bits) - 1)));
      }
    }
  if (raw.size() != 320 * (1 + 3 * 240)) return false;
  std::vector<uint8_t> packed(compressBound(raw.size()));
  uLongf size = packed.size();
  if (compress(packed.data(), &size, raw.data(), raw.size()) != Z_OK) return false;
  std::ofstream png(path, std::ios::binary);
  const auto word = [&png](uint32_t v) {  // big-endian
    for (int k = 24; k >= 0; k -= 8) png.put(static_cast<char>(v >> k));
  };
  const auto chunk = [&](const char* type, const uint8_t* data, uint32_t length) {
    std::string bytes(type, 4);
    if (length) bytes.append(reinterpret_cast<const char*>(data), length);
    word(length);
    png << bytes;
    word(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size()))));
  };
  png << "\x89PNG\r\n\x1a\n";
  const uint8_t header[] = {0, 0, 0, 240, 0, 0, 1, 64, 8, 2, 0, 0, 0};  // 240 x 320, RGB
  chunk("IHDR", header, sizeof header);
  chunk("IDAT", packed.data(), uint32_t(size));
  chunk("IEND", nullptr, 0);
  return bool(png);
}
