// Bitmap fonts cut from marked image strips, and plain string drawing.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

constexpr int kGlyphTableSize = 255;

// The x positions of a font image's row-0 markers, left to right, and how many were found.
// Lookups never go past `count`: codes without a glyph are skipped.
struct GlyphTable {
  int32_t x[kGlyphTableSize];
  int32_t count;
};

// The glyph table of the selected font, rebuilt by every SelectFont.
extern GlyphTable GlobalGlyphs;
// The Images index of the selected font; -1 until the first SelectFont.
extern int32_t CurrentFont;

// Fills the table from the markers in row 0 of the surface (raw value of pixel (0, 0)).
// At most kGlyphTableSize markers are kept; entries past the last marker found keep what
// they held, and `count` says how many this build found. Used by SelectFont and TextBox.
void BuildGlyphTable(SDL_Surface* surface, GlyphTable& table);

// Where the glyph of code ch lies in its font image: the column after marker ch-33 and the
// width up to marker ch-32. False for a code the markers do not describe (below 33, 128-255,
// or past the markers found). Used by DrawText and by TextBox for every glyph it draws or
// measures.
bool FindGlyph(const GlyphTable& table, uint8_t ch, int32_t& sourceX, int32_t& width);

// Selects Images[imageIndex] as the current font and rebuilds GlobalGlyphs from it.
// Called by every screen that writes text, at the start of each redraw.
void SelectFont(int32_t imageIndex);

// Draws a zero-terminated string with its first glyph's top-left at (x, y), cutting glyphs
// from Images[imageIndex]. Space advances 4, newline returns to x and goes 15 down, bytes
// 128-255 and codes without a glyph are skipped. Does not flip the screen.
void DrawText(const char* text, int32_t x, int32_t y, int32_t imageIndex);
