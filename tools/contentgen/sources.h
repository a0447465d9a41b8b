// The readable sources of the pictures: the palette, the sprite grids and the font glyphs.
// Every reader stops with a message naming the file and line of a fault.
#pragma once
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/contentgen/image.h"

// A fault in a source file: "file:line: what is wrong".
struct SourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The game's colours: each has a name (used by layouts and code) and a one-character
// code (used by the sprite grids).
struct Palette {
  std::map<std::string, Rgb> byName;
  std::map<char, Rgb> byCode;
  // The colour of a name; throws SourceError for an unknown one.
  Rgb operator[](const std::string& name) const;
};

// Reads palette.txt: lines "name code red green blue".
Palette LoadPalette(const std::string& path);

// A sprite: its frames side by side in one strip, each frameWidth x frameHeight.
struct Sprite {
  int frameWidth = 0;
  int frameHeight = 0;
  int frames = 0;
  Image strip;
};

// Reads sprites.txt: blocks "sprite NAME WIDTH HEIGHT [mirror]", grid rows of palette codes,
// "--" between frames and "end" after the last. With "mirror" each row gives the left half
// (the centre column included when the width is odd) and the right half is its mirror image.
std::map<std::string, Sprite> LoadSprites(const std::string& path, const Palette& palette);

// Glyph rows of the game's pixel font, as drawn in font.txt.
constexpr int kGlyphRows = 9;   // rows 0-6 capitals and digits, 7-8 descenders
constexpr int kCapHeight = 7;
// The font strips hold codes 33 to 127: 95 glyphs between 96 markers. 127 has no key on
// the keyboard; its glyph (a small ship) only completes the strip.
constexpr int kFirstGlyph = 33;
constexpr int kLastGlyph = 127;

struct Glyph {
  int width = 0;                  // ink columns, without the gap column
  std::vector<std::string> rows;  // kGlyphRows strings of '#' (ink) and '.'
  bool Ink(int x, int y) const { return rows[size_t(y)][size_t(x)] == '#'; }
};

// Reads font.txt: blocks ": C" (or ": CODE" in decimal) followed by kGlyphRows rows of '#'
// and '.'. Every code from kFirstGlyph to kLastGlyph must be present exactly once.
std::map<char, Glyph> LoadFont(const std::string& path);

// Reads a text file whole; throws SourceError when it cannot be read.
std::string ReadTextFile(const std::string& path);
// Splits text into lines (no line ends kept).
std::vector<std::string> SplitLines(const std::string& text);
