// Bitmap fonts: glyph tables from row-0 markers, and where DrawText puts every glyph.
#include "resources/images.h"
#include "tests/support/resource_kit.h"
#include "text/font.h"

namespace {

class FontTest : public GameTest {
 protected:
  // A painted font as Images[id]: glyphs 5 wide, `glyphs` of them from code 33 on.
  void Install(int id, int height, uint16_t base, uint16_t corner, int glyphs = 95) {
    Images[id] = PaintedFont(5, height, base, corner, glyphs);
    owned.push_back(Images[id]);
  }
};

TEST_F(FontTest, DrawTextCutsEveryGlyphBetweenItsMarkersAndMovesThePen) {
  Install(kFontWhite, 9, kRegularBase, kRegularCorner);
  CurrentFont = -1;
  DrawText("abc", 10, 10, kFontWhite);  // no font selected yet
  SelectFont(kFontWhite);
  DrawText(nullptr, 10, 10, kFontWhite);
  EXPECT_EQ(Digest(), "0");
  // Spaces advance 4, a newline goes back to the x given and 15 down, bytes without a glyph
  // leave no gap.
  DrawText("a b  c\n12\xC8\x01\x7Fx~", 20, 30, kFontWhite);
  EXPECT_EQ(Digest(), "a20,30 b29,30 c42,30 120,45 225,45 \x7F""30,45 x35,45 ~40,45 360");
  std::string all;
  for (int c = 33; c <= 127; ++c) all += static_cast<char>(c);
  SDL_FillRect(ScreenSurface, nullptr, 0);
  DrawText(all.c_str(), 0, 100, kFontWhite);
  std::string want;
  for (int c = 33; c <= 80; ++c) want += std::string(1, static_cast<char>(c)) + std::to_string(5 * (c - 33)) + ",100 ";
  EXPECT_EQ(Digest(), want + "2160");  // the 48 glyphs that fit on the screen

  // The height is the selected font's, the pixels come from the image asked for.
  Install(kFontGrey, 14, kBoldBase, kBoldCorner);
  SDL_FillRect(ScreenSurface, nullptr, 0);
  DrawText("!", 40, 40, kFontGrey);
  EXPECT_EQ(Digest(), "*!40,40 45");
}

TEST_F(FontTest, AFontWithFewerMarkersKeepsTheOldEntriesButDrawsOnlyItsOwnGlyphs) {
  Install(kFontWhite, 9, kRegularBase, kRegularCorner);
  SelectFont(kFontWhite);
  const GlyphTable wide = GlobalGlyphs;
  EXPECT_EQ(wide.count, 96);
  Install(kFontWhite, 9, kRegularBase, kRegularCorner, 3);  // codes 33 to 35
  SelectFont(kFontWhite);
  EXPECT_EQ(GlobalGlyphs.count, 4);
  EXPECT_EQ(GlobalGlyphs.x[4], wide.x[4]);
  DrawText("!a~\"#$", 10, 10, kFontWhite);
  EXPECT_EQ(Digest(), "!10,10 \"15,10 #20,10 135");

  SDL_Surface* allMarkers = MakeSurface(400, 2, kMark);
  owned.push_back(allMarkers);
  BuildGlyphTable(allMarkers, GlobalGlyphs);  // stops at the table's 255 entries
  EXPECT_EQ(GlobalGlyphs.count, kGlyphTableSize);
  EXPECT_EQ(GlobalGlyphs.x[kGlyphTableSize - 1], kGlyphTableSize - 1);
}

}  // namespace
