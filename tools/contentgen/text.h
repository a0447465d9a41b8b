// Writing with the game's pixel font inside the generated pictures, and making the font
// strips themselves (font_white.bmp, font.bmp, font_bold.bmp).
#pragma once
#include <map>
#include <string>

#include "tools/contentgen/image.h"
#include "tools/contentgen/sources.h"

using Font = std::map<char, Glyph>;

// How a label is written: ink colour, an optional one-pixel shadow down and right,
// a scale (each font pixel becomes scale x scale), and an optional second ink that
// fills the lower half of each letter (for titles).
struct TextStyle {
  Rgb ink{255, 255, 255};
  bool shadow = false;
  Rgb shadowColour{};
  int scale = 1;
  bool twoTone = false;
  Rgb lowerInk{};
  bool outline = false;  // a one-pixel ring around every letter (and its shadow)
  Rgb outlineColour{};
  int tracking = 0;      // extra font pixels between letters (titles only)
};

// The pen advance of one character, as the game's DrawText moves it: glyph width plus the
// gap column, 4 for a space, times the scale.
int Advance(const Font& font, char ch, int scale = 1);
// The width of a one-line string in pixels.
int TextWidth(const Font& font, const std::string& text, int scale = 1);
// The width of a string written in a style (scale and tracking).
int StyledWidth(const Font& font, const std::string& text, const TextStyle& style);
// Writes a one-line string with the top of its capitals at (x, y).
void DrawString(Image& image, const Font& font, const std::string& text, int x, int y,
                const TextStyle& style);
// The same, centred on cx.
void DrawCentred(Image& image, const Font& font, const std::string& text, int cx, int y,
                 const TextStyle& style);

// The colours of a font strip in the game's convention.
struct FontStripColours {
  Rgb marker;      // row-0 boundary marks; pixel (0, 0)
  Rgb background;  // the transparent colour; pixel (0, 5)
  Rgb ink;
  bool shadow = false;
  Rgb shadowColour{};
  bool bold = false;  // every ink pixel also inks its right neighbour
};

// Height of a font strip: the marker row, the glyph rows and one row for the shadow.
constexpr int kFontStripHeight = 1 + kGlyphRows + 1;

// Builds a font strip for codes kFirstGlyph to kLastGlyph: a marker in row 0 before every glyph and after
// the last, each glyph its ink columns plus one gap column (two for bold), ink from row 1.
Image MakeFontStrip(const Font& font, const FontStripColours& colours);
