// Frames of the 240 x 320 screen as text and as pictures, so that a golden replay that
// differs can show the frames that differ: a frame as runs of one colour ("f800*12 0000*300"),
// a PNG file of one, and every frame of a run kept beside the build.
#pragma once
#include <SDL/SDL.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

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

// One line of a gzip file, without its end; false at the end of the file.
inline bool ReadGzLine(gzFile in, std::string* line) {
  line->clear();
  char chunk[8192];
  while (gzgets(in, chunk, sizeof chunk)) {
    *line += chunk;
    if (line->back() == '\n') {
      line->pop_back();
      return true;
    }
  }
  return !line->empty();
}

// The frame shown at a wait, from the frames kept at `path` for a run whose frames had these
// digests (see KeepFrames); empty when no such run was kept or it had no such wait.
inline std::string KeptFrame(const std::string& path, const std::string& digests, size_t wait) {
  gzFile in = gzopen(path.c_str(), "rb");
  if (!in) return "";
  std::string line;
  bool found = ReadGzLine(in, &line) && line == digests;
  for (size_t i = 0; found && i <= wait; ++i) found = ReadGzLine(in, &line);
  gzclose(in);
  return found ? line : "";
}

// Keeps every frame of a run at `path` (gzip: the digests, then a frame per line), unless the
// frames for these digests are kept there already. A replay keeps the frames of a run that
// matches its golden file, so that a later run that differs can show the expected frame.
inline void KeepFrames(const std::string& path, const std::string& digests,
                       const std::vector<std::string>& frames) {
  if (!KeptFrame(path, digests, 0).empty()) return;
  const std::string part = path + ".part";
  gzFile out = gzopen(part.c_str(), "wb1");
  if (!out) return;
  bool written = gzputs(out, (digests + "\n").c_str()) > 0;
  for (const std::string& frame : frames)
    written =
        written && gzwrite(out, frame.data(), unsigned(frame.size())) > 0 && gzputs(out, "\n") > 0;
  if (gzclose(out) == Z_OK && written) std::rename(part.c_str(), path.c_str());
  std::remove(part.c_str());
}
