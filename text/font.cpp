#include "text/font.h"

#include "resources/draw.h"
#include "resources/images.h"

GlyphTable GlobalGlyphs{};
int32_t CurrentFont = -1;

// DrawText moves down this far for every newline, whatever the font's height.
constexpr int32_t kTextLineStep = 15;
// A space has no glyph; it only moves the pen.
constexpr int32_t kSpaceAdvance = 4;

void BuildGlyphTable(SDL_Surface* surface, GlyphTable& table) {
  int32_t found = 0;
  if (surface) {
    const uint32_t marker = ReadPixel(0, 0, surface);
    for (int32_t x = 0; x < surface->w && found < kGlyphTableSize; ++x) {
      if (ReadPixel(x, 0, surface) == marker) table.x[found++] = x;
    }
  }
  table.count = found;
}

bool FindGlyph(const GlyphTable& table, uint8_t ch, int32_t& sourceX, int32_t& width) {
  // Code ch sits between markers ch-33 and ch-32; both must have been found.
  if (ch < 33 || ch > 127 || ch - 32 >= table.count) return false;
  sourceX = table.x[ch - 33] + 1;
  width = table.x[ch - 32] - table.x[ch - 33] - 1;
  return true;
}

// The image at a catalogue index, or null for an index outside the catalogue.
static SDL_Surface* ImageAt(int32_t index) {
  return index >= 0 && index < kImageCount ? Images[index] : nullptr;
}

void SelectFont(int32_t imageIndex) {
  CurrentFont = imageIndex;
  BuildGlyphTable(ImageAt(imageIndex), GlobalGlyphs);
}

void DrawText(const char* text, int32_t x, int32_t y, int32_t imageIndex) {
  if (!text || CurrentFont == -1) return;
  SDL_Surface* const font = ImageAt(CurrentFont);
  SDL_Surface* const source = ImageAt(imageIndex);
  if (!font || !source) return;
  const uint16_t height = static_cast<uint16_t>(font->h);

  int32_t penX = x;
  int32_t penY = y;
  for (const char* p = text; *p; ++p) {
    const uint8_t ch = static_cast<uint8_t>(*p);
    if (ch == ' ') {
      penX += kSpaceAdvance;
    } else if (ch == '\n') {
      penX = x;
      penY += kTextLineStep;
    } else {
      int32_t sourceX = 0;
      int32_t width = 0;
      if (!FindGlyph(GlobalGlyphs, ch, sourceX, width)) continue;  // no glyph: no blit, no gap
      BlitImagePart(source, static_cast<int16_t>(penX), static_cast<int16_t>(penY),
                    static_cast<uint16_t>(width), height, static_cast<int16_t>(sourceX), 0);
      penX += width;
    }
  }
}
