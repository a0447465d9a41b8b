#include "tools/contentgen/text.h"

int Advance(const Font& font, char ch, int scale) {
  if (ch == ' ') return 4 * scale;
  auto it = font.find(ch);
  if (it == font.end()) return 0;
  return (it->second.width + 1) * scale;
}

int TextWidth(const Font& font, const std::string& text, int scale) {
  int w = 0;
  for (char ch : text) w += Advance(font, ch, scale);
  return w;
}

int StyledWidth(const Font& font, const std::string& text, const TextStyle& style) {
  int w = TextWidth(font, text, style.scale);
  if (!text.empty()) w += style.tracking * style.scale * int(text.size() - 1);
  return w;
}

static void Cell(Image& image, int x, int y, int scale, Rgb c) {
  FillRect(image, x, y, scale, scale, c);
}

void DrawString(Image& image, const Font& font, const std::string& text, int x, int y,
                const TextStyle& style) {
  const int s = style.scale;
  // Three passes so that no letter's outline or shadow covers its neighbour's ink.
  for (int pass = 0; pass < 3; ++pass) {
    int pen = x;
    for (char ch : text) {
      auto it = font.find(ch);
      if (it != font.end()) {
        const Glyph& g = it->second;
        for (int gy = 0; gy < kGlyphRows; ++gy) {
          for (int gx = 0; gx < g.width; ++gx) {
            if (!g.Ink(gx, gy)) continue;
            const int px = pen + gx * s, py = y + gy * s;
            if (pass == 0 && style.outline) {
              // The ring hugs the letter and its shadow one screen pixel wide.
              const int reach = style.shadow ? s : 0;
              FillRect(image, px - 1, py - 1, s + reach + 2, s + reach + 2, style.outlineColour);
            }
            if (pass == 1 && style.shadow) Cell(image, px + s, py + s, s, style.shadowColour);
            if (pass == 2) {
              if (!style.twoTone) {
                Cell(image, px, py, s, style.ink);
              } else {
                // Per screen row: the upper part of each letter in ink, the lower in lowerInk,
                // split at the middle of the capitals.
                for (int r = 0; r < s; ++r) {
                  const bool lower = gy * s + r >= kCapHeight * s / 2;
                  FillRect(image, px, py + r, s, 1, lower ? style.lowerInk : style.ink);
                }
              }
            }
          }
        }
      }
      pen += Advance(font, ch, s) + style.tracking * s;
    }
  }
}

void DrawCentred(Image& image, const Font& font, const std::string& text, int cx, int y,
                 const TextStyle& style) {
  DrawString(image, font, text, cx - StyledWidth(font, text, style) / 2, y, style);
}

Image MakeFontStrip(const Font& font, const FontStripColours& colours) {
  const int extra = colours.bold ? 2 : 1;
  int width = 1;
  for (int ch = kFirstGlyph; ch <= kLastGlyph; ++ch) width += font.at(char(ch)).width + extra + 1;
  Image strip(width, kFontStripHeight, colours.background);
  int x = 0;
  strip.Set(x, 0, colours.marker);
  for (int ch = kFirstGlyph; ch <= kLastGlyph; ++ch) {
    const Glyph& g = font.at(char(ch));
    const int left = x + 1;
    for (int pass = 0; pass < 2; ++pass) {
      for (int gy = 0; gy < kGlyphRows; ++gy) {
        for (int gx = 0; gx < g.width; ++gx) {
          if (!g.Ink(gx, gy)) continue;
          for (int b = 0; b < (colours.bold ? 2 : 1); ++b) {
            if (pass == 0 && colours.shadow) strip.Set(left + gx + b + 1, 1 + gy + 1, colours.shadowColour);
            if (pass == 1) strip.Set(left + gx + b, 1 + gy, colours.ink);
          }
        }
      }
    }
    x = left + g.width + extra;
    strip.Set(x, 0, colours.marker);
  }
  return strip;
}
