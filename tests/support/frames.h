// Frames of the 240 x 320 screen as text and as pictures, so that a golden replay or picture
// that differs can show the frames that differ: a frame as runs of one colour ("f800*12
// 0000*300"), a PNG file of one, golden pictures and the update mode of the golden files.
#pragma once
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "resources/images.h"
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

// The pixels of a frame given as runs, row after row (fewer than 240 x 320 when it is damaged).
inline std::vector<uint16_t> DecodeFrame(const std::string& runs) {
  std::vector<uint16_t> pixels;
  std::istringstream in(runs);
  unsigned colour = 0, count = 0;
  for (char star;
       pixels.size() <= 240 * 320 && in >> std::hex >> colour >> star >> std::dec >> count;)
    pixels.insert(pixels.end(), count, uint16_t(colour));
  return pixels;
}

// Writes a frame given as runs into a PNG file (with the icons' PNG writer); false on failure.
inline bool WriteFramePng(const std::string& runs, const std::string& path) {
  Image image(240, 320);
  image.pixels.clear();
  for (uint16_t c : DecodeFrame(runs))
    image.pixels.push_back({uint8_t((c >> 11) * 255 / 31), uint8_t((c >> 5 & 63) * 255 / 63),
                            uint8_t((c & 31) * 255 / 31)});
  std::string error;
  return image.pixels.size() == 240 * 320 && WritePng(path, image, &error);
}

// Where the pictures of a golden file that differs are written.
inline std::string GoldenOutputFolder() {
  const std::string folder = ZORBLATS_BINARY_DIR "/Testing/golden/";
  std::system(("mkdir -p " + folder).c_str());
  return folder;
}

// Whether a golden file may be rewritten (ZORBLATS_UPDATE_GOLDEN): not when that is unset,
// empty or 0; with 1, where its outcome stays; with its name among others (comma-separated),
// also where its outcome changes.
enum class GoldenUpdate { No, KeepingOutcome, Any };
inline GoldenUpdate GoldenUpdateFor(const std::string& name) {
  const char* asked = std::getenv("ZORBLATS_UPDATE_GOLDEN");
  const std::string names = "," + std::string(asked ? asked : "") + ",";
  if (names == ",," || names == ",0,") return GoldenUpdate::No;
  return names.find("," + name + ",") != std::string::npos ? GoldenUpdate::Any
                                                           : GoldenUpdate::KeepingOutcome;
}

// Compares a picture (as runs) with the golden picture tests/golden/pictures/<name>.txt; where
// they differ, writes both as PNG files beside the build (<name>-expected.png and
// <name>-shown.png) and names the first pixel that differs. In the update mode the golden
// picture is rewritten.
inline testing::AssertionResult IsGoldenPicture(const std::string& name, const std::string& runs) {
  const std::string path = ZORBLATS_SOURCE_DIR "/tests/golden/pictures/" + name + ".txt";
  std::string expected;
  std::getline(std::ifstream(path), expected);
  if (runs == expected) return testing::AssertionSuccess();
  const std::vector<uint16_t> want = DecodeFrame(expected), got = DecodeFrame(runs);
  size_t at = 0;
  while (at < want.size() && at < got.size() && want[at] == got[at]) ++at;
  const std::string stem = GoldenOutputFolder() + name;
  WriteFramePng(expected, stem + "-expected.png");
  WriteFramePng(runs, stem + "-shown.png");
  const bool rewrite = GoldenUpdateFor(name) != GoldenUpdate::No;
  if (rewrite) std::ofstream(path, std::ios::trunc) << runs << "\n";
  return testing::AssertionFailure()
         << "the picture " << name << " first differs from " << path << " at (" << at % 240 << ", "
         << at / 240 << "): " << stem << "-expected.png and -shown.png"
         << (rewrite ? "; the golden picture is rewritten" : "");
}
