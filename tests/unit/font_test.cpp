// Bitmap fonts: glyph tables from row-0 markers, and where DrawText puts every glyph.
#include <climits>
#include <string>
#include <vector>

#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"
#include "tests/support/screen_blocks.h"
#include "text/font.h"

namespace {

constexpr uint16_t kMarker = 0xF81F;  // row-0 marker colour
constexpr uint16_t kGap = 0x1111;     // the marker columns below row 0
constexpr uint16_t kBase = 0x4000;    // glyph of code 33 + k is filled with kBase + k

// Glyph widths that differ from neighbour to neighbour, so a glyph cut from the wrong
// markers lands with the wrong width.
int Width(int code) { return 2 + code % 3; }
uint16_t Colour(int code) { return static_cast<uint16_t>(kBase + code - 33); }

// A font strip with one solid block per glyph, row 0 included: glyph k (code 33 + k) is
// widths[k] wide and filled with base + k; markers before each glyph and after the last.
SDL_Surface* MakeBlockFont(const std::vector<int>& widths, int height, uint16_t base) {
  int total = 1;
  for (int w : widths) total += w + 1;
  SDL_Surface* font = MakeSurface(total, height, kGap);
  int x = 0;
  FillRect(font, x, 0, 1, 1, kMarker);
  for (size_t k = 0; k < widths.size(); ++k) {
    FillRect(font, x + 1, 0, widths[k], height, static_cast<uint16_t>(base + k));
    x += widths[k] + 1;
    FillRect(font, x, 0, 1, 1, kMarker);
  }
  return font;
}

std::vector<int> Widths(int glyphs) {
  std::vector<int> widths;
  for (int k = 0; k < glyphs; ++k) widths.push_back(Width(33 + k));
  return widths;
}

int CountNonBlack() {
  int n = 0;
  for (int y = 0; y < ScreenSurface->h; ++y)
    for (int x = 0; x < ScreenSurface->w; ++x) n += ReadPixel(x, y, ScreenSurface) != 0;
  return n;
}

TEST(FontStart, NoFontIsSelectedAtStart) { EXPECT_EQ(CurrentFont, -1); }

class FontTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    SDL_FillRect(ScreenSurface, nullptr, 0);
    CurrentFont = -1;
    GlobalGlyphs = {};
  }
  // Installs a block font of `glyphs` glyphs as Images[kFontWhite].
  SDL_Surface* InstallFont(int glyphs, int height) {
    SDL_Surface* font = MakeBlockFont(Widths(glyphs), height, kBase);
    owned.push_back(font);
    Images[kFontWhite] = font;
    return font;
  }
};

TEST_F(FontTest, TableHoldsEveryExactMarkerOfRowZeroOnly) {
  SDL_Surface* font = InstallFont(4, 9);
  // Near misses: one bit off the marker colour in row 0, the marker colour below row 0.
  FillRect(font, 2, 0, 1, 1, kMarker ^ 1);
  FillRect(font, 5, 3, 1, 1, kMarker);
  GlyphTable table{};
  BuildGlyphTable(font, table);
  // Widths of codes 33..36 are 2, 3, 4, 2.
  ASSERT_EQ(table.count, 5);
  EXPECT_EQ(table.x[0], 0);
  EXPECT_EQ(table.x[1], 3);
  EXPECT_EQ(table.x[2], 7);
  EXPECT_EQ(table.x[3], 12);
  EXPECT_EQ(table.x[4], 15);
}

TEST_F(FontTest, MarkerColourIsWhateverPixelZeroHolds) {
  // A font whose marker is black, on white paper.
  SDL_Surface* font = MakeSurface(10, 4, 0xFFFF);
  owned.push_back(font);
  FillRect(font, 0, 0, 1, 1, 0);
  FillRect(font, 4, 0, 1, 1, 0);
  FillRect(font, 9, 0, 1, 1, 0);
  GlyphTable table{};
  BuildGlyphTable(font, table);
  ASSERT_EQ(table.count, 3);
  EXPECT_EQ(table.x[1], 4);
  EXPECT_EQ(table.x[2], 9);
}

TEST_F(FontTest, FewerMarkersLeaveOldEntriesButBoundLookups) {
  SDL_Surface* wide = MakeBlockFont(std::vector<int>(10, 6), 9, kBase);
  SDL_Surface* narrow = MakeBlockFont({1, 1}, 9, kBase);
  owned.push_back(wide);
  owned.push_back(narrow);
  GlyphTable first{}, again{};
  BuildGlyphTable(wide, first);
  BuildGlyphTable(wide, again);
  ASSERT_EQ(first.count, 11);
  for (int k = 0; k < first.count; ++k) EXPECT_EQ(again.x[k], first.x[k]) << k;

  GlyphTable table = first;
  BuildGlyphTable(narrow, table);
  EXPECT_EQ(table.count, 3);
  EXPECT_EQ(table.x[1], 2);
  EXPECT_EQ(table.x[2], 4);
  for (int k = 3; k < 11; ++k) EXPECT_EQ(table.x[k], first.x[k]) << k;

  // Code 35 lies between markers 2 and 3: the third marker is the narrow font's last, so
  // the stale entry 3 must not be used.
  int32_t sourceX = -1, width = -1;
  EXPECT_TRUE(FindGlyph(table, 34, sourceX, width));
  EXPECT_EQ(sourceX, 3);
  EXPECT_EQ(width, 1);
  EXPECT_FALSE(FindGlyph(table, 35, sourceX, width));
  EXPECT_FALSE(FindGlyph(table, 32, sourceX, width));
  EXPECT_FALSE(FindGlyph(table, 10, sourceX, width));
  EXPECT_FALSE(FindGlyph(first, 200, sourceX, width));
}

TEST_F(FontTest, MoreThanTableSizeMarkersStopAtTheTable) {
  struct Guarded {
    GlyphTable table;
    int32_t after[8];
  } guarded{};
  for (int32_t& a : guarded.after) a = 0x5A5A5A5A;
  SDL_Surface* allMarkers = MakeSurface(400, 2, kMarker);
  owned.push_back(allMarkers);
  BuildGlyphTable(allMarkers, guarded.table);
  EXPECT_EQ(guarded.table.count, kGlyphTableSize);
  EXPECT_EQ(guarded.table.x[kGlyphTableSize - 1], kGlyphTableSize - 1);
  for (int32_t a : guarded.after) EXPECT_EQ(a, 0x5A5A5A5A);

  GlyphTable none{};
  none.x[0] = 77;
  BuildGlyphTable(nullptr, none);
  EXPECT_EQ(none.count, 0);
  EXPECT_EQ(none.x[0], 77);
}

TEST_F(FontTest, SelectFontRebuildsEveryTime) {
  SDL_Surface* font = InstallFont(95, 9);
  SelectFont(kFontWhite);
  EXPECT_EQ(CurrentFont, kFontWhite);
  EXPECT_EQ(GlobalGlyphs.count, 96);
  // Same index again, but the image changed underneath: the table follows it.
  FillRect(font, 1, 0, 1, 1, kMarker);
  SelectFont(kFontWhite);
  EXPECT_EQ(GlobalGlyphs.count, 97);
  EXPECT_EQ(GlobalGlyphs.x[1], 1);
}

TEST_F(FontTest, NothingDrawnWithoutFontOrText) {
  InstallFont(95, 9);
  DrawText("abc", 10, 10, kFontWhite);  // no font selected yet
  EXPECT_EQ(CountNonBlack(), 0);
  SelectFont(kFontWhite);
  DrawText("", 10, 10, kFontWhite);
  DrawText(nullptr, 10, 10, kFontWhite);
  DrawText("\xC8\xFF", 10, 10, kFontWhite);
  EXPECT_EQ(CountNonBlack(), 0);
}

TEST_F(FontTest, EveryGlyphIsCutBetweenItsMarkersFromRowZero) {
  InstallFont(95, 9);
  SelectFont(kFontWhite);
  // All codes 33..126 on two lines, at a pen we follow ourselves.
  std::string text;
  for (int c = 33; c <= 126; ++c) {
    text += static_cast<char>(c);
    if (c == 80) text += '\n';
  }
  DrawText(text.c_str(), 3, 7, kFontWhite);
  int x = 3, y = 7;
  for (int c = 33; c <= 126; ++c) {
    EXPECT_TRUE(IsBlockAt(Colour(c), x, y, Width(c), 9)) << "code " << c;
    x += Width(c);
    if (c == 80) {
      x = 3;
      y += 15;
    }
  }
  // Never a marker or a marker column.
  EXPECT_EQ(Find(kMarker).pixels, 0);
  EXPECT_EQ(Find(kGap).pixels, 0);
}

TEST_F(FontTest, PenMovesBySpacesNewlinesAndSkippedBytes) {
  InstallFont(95, 9);
  SelectFont(kFontWhite);
  // "a b": b after a's width and a 4-pixel space; two spaces give 8.
  DrawText("a b  c", 20, 30, kFontWhite);
  EXPECT_TRUE(IsBlockAt(Colour('a'), 20, 30, Width('a'), 9));
  EXPECT_TRUE(IsBlockAt(Colour('b'), 20 + Width('a') + 4, 30, Width('b'), 9));
  EXPECT_TRUE(IsBlockAt(Colour('c'), 20 + Width('a') + 4 + Width('b') + 8, 30, Width('c'), 9));

  // "12", newline, "34": back to the x passed in, 15 lower, whatever the font's height.
  DrawText("12\n34", 50, 100, kFontWhite);
  EXPECT_TRUE(IsBlockAt(Colour('1'), 50, 100, Width('1'), 9));
  EXPECT_TRUE(IsBlockAt(Colour('2'), 50 + Width('1'), 100, Width('2'), 9));
  EXPECT_TRUE(IsBlockAt(Colour('3'), 50, 115, Width('3'), 9));
  EXPECT_TRUE(IsBlockAt(Colour('4'), 50 + Width('3'), 115, Width('4'), 9));

  // High bytes and control codes leave no gap.
  DrawText("x\xC8\x80\x01\x1Fy", 10, 200, kFontWhite);
  EXPECT_TRUE(IsBlockAt(Colour('x'), 10, 200, Width('x'), 9));
  EXPECT_TRUE(IsBlockAt(Colour('y'), 10 + Width('x'), 200, Width('y'), 9));
}

TEST_F(FontTest, CodesPastTheMarkersAreSkipped) {
  InstallFont(95, 9);
  SelectFont(kFontWhite);
  // Now a font of three glyphs (codes 33..35) in the same slot.
  SDL_Surface* small = MakeBlockFont(Widths(3), 9, kBase);
  owned.push_back(small);
  Images[kFontWhite] = small;
  SelectFont(kFontWhite);
  DrawText("!a~\"#$", 10, 10, kFontWhite);
  EXPECT_TRUE(IsBlockAt(Colour('!'), 10, 10, Width('!'), 9));
  EXPECT_TRUE(IsBlockAt(Colour('"'), 10 + Width('!'), 10, Width('"'), 9));
  EXPECT_TRUE(IsBlockAt(Colour('#'), 10 + Width('!') + Width('"'), 10, Width('#'), 9));
  EXPECT_EQ(Find(Colour('$')).pixels, 0);
  EXPECT_EQ(Find(Colour('a')).pixels, 0);
  EXPECT_EQ(Find(kMarker).pixels, 0);
  EXPECT_EQ(Find(kGap).pixels, 0);
}

TEST_F(FontTest, HeightComesFromTheSelectedFontPixelsFromTheGivenImage) {
  InstallFont(95, 9);
  SelectFont(kFontWhite);
  // A taller image of the same layout but other colours, passed as the source.
  SDL_Surface* tall = MakeBlockFont(Widths(95), 14, 0x6000);
  owned.push_back(tall);
  Images[kFontGrey] = tall;
  DrawText("!", 40, 40, kFontGrey);
  EXPECT_TRUE(IsBlockAt(0x6000, 40, 40, Width('!'), 9));
  EXPECT_EQ(Find(Colour('!')).pixels, 0);
}

TEST_F(FontTest, GlyphsAreClippedAtTheScreenEdge) {
  InstallFont(95, 9);
  SelectFont(kFontWhite);
  DrawText("a", 239, 316, kFontWhite);
  EXPECT_TRUE(IsBlockAt(Colour('a'), 239, 316, 1, 4));
}

}  // namespace
