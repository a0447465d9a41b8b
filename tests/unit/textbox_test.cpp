// Text on the screen, compared as digests of what is drawn (each glyph of a painted font by its
// character and corner, pictures by place and size): plain strings, and the help box's pages
// laid out from small mark-up texts; how the text is broken into pages; damaged or huge texts
// and pictures.
#include <sys/stat.h>

#include "tests/support/resource_kit.h"
#include "resources/images.h"
#include "text/textbox.h"

namespace {

// Regular glyphs 5 x 10, bold ones 7 x 16; the text area starts at (10, 20).
class TextBoxTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    owned = {PaintedFont(5, 10, kRegularBase, kRegularCorner), PaintedFont(7, 16, kBoldBase, kBoldCorner),
             MakeSurface(240, 320)};
    box.SetRegularFont(owned[0]);
    box.SetBoldFont(owned[1]);
    box.SetBackground(owned[2]);
    ASSERT_TRUE(EnterFolder(folder.c_str()));  // help pictures open from the game's folder
    for (auto [name, w, h] : {std::tuple{"p33.bmp", 33, 7}, {"p105.bmp", 105, 4}, {"p30.bmp", 20, 30}, {"p31.bmp", 20, 31}}) {
      SDL_Surface* picture = MakeSurface(w, h, kPicture);
      SDL_SaveBMP(picture, name);
      SDL_FreeSurface(picture);
    }
  }
  void TearDown() override {
    ASSERT_EQ(chdir("/"), 0);
    GameTest::TearDown();
  }
  void Lay(const std::string& newText, int width, int height) {
    text = newText;
    box.SetRect(10, 20, width, height);
    box.UseFont(0);
    box.SetText(text.c_str());
  }
  std::string Page(int page) {
    box.currentPage = static_cast<int16_t>(page);
    box.DrawBox();
    return Digest();
  }
  TextBox box;
  std::string text;
};

TEST_F(TextBoxTest, PagesAreLaidOutAndDrawnByTheMarkUpRules) {
  const struct {
    const char* text;
    int width, height, page, pages;
    const char* digest;
  } cases[] = {
      // A word that ends exactly at the right edge stays; one pixel less and it wraps, without the space.
      {"ab cd ef", 38, 60, 0, 1, "a10,20 b15,20 c24,20 d29,20 e38,20 f43,20 300"},
      {"ab cd ef", 37, 60, 0, 1, "a10,20 b15,20 c24,20 d29,20 e10,30 f15,30 300"},
      // Two spaces, carriage returns, paragraphs two lines down and indented.
      {"ab  c\r\nd\n\ne", 200, 100, 0, 1, "a10,20 b15,20 c28,20 d30,40 e30,80 250"},
      // The word before a paragraph end is measured with the next one; ">" takes room unseen.
      {"a bc\nde", 28, 60, 0, 1, "a10,20 b10,30 c15,30 d30,50 e35,50 250"},
      {"a bc>>", 28, 60, 0, 1, "a10,20 b10,30 c15,30 150"},
      // A run ends at "<"; a word right after a tag is never wrapped; unknown tags take no room.
      {"a bc<X>de", 28, 60, 0, 1, "a10,20 b19,20 c24,20 d29,20 e34,20 250"},
      {"ab<XYZ cd", 200, 60, 0, 1, "a10,20 b15,20 100"},
      // Tags match whole and case-sensitively; bold sets the width and the line height.
      {"a<bold>b<BOLDX>c<BOLD>d\ne</bold>x</BOLD>f", 200, 100, 0, 1,
       "a10,20 b15,20 c20,20 *d25,20 *e30,52 *x37,52 f44,52 536"},
      {"ab<BOLD", 200, 60, 0, 1, "*a10,20 *b17,20 224"},  // still bold after the layout pass
      // Pictures: centred with the division truncated, text going on at the left below.
      {"ab<IMAGE>p33.bmp<P>cd", 100, 60, 0, 1, "a10,20 b15,20 c10,37 d15,37 P43,30 33x7 431"},
      {"<IMAGE>p105.bmp", 100, 60, 0, 1, "P8,30 105x4 420"},
      {"ab\ncd e<IMAGE>p30.bmp<P>hi", 100, 60, 0, 1, "a10,20 b15,20 c30,40 d35,40 e44,40 h10,80 i15,80 P50,50 20x30 950"},
      // A picture that does not fit starts the next page with the byte before it.
      {"ab\ncd e<IMAGE>p31.bmp<P>hi", 100, 60, 0, 2, "a10,20 b15,20 c30,40 d35,40 e44,40 250"},
      {"ab\ncd e<IMAGE>p31.bmp<P>hi", 100, 60, 1, 2, "e10,20 h10,61 i15,61 P50,30 20x31 770"},
      // Pages are measured with the paragraph indent but drawn without it.
      {"ab\nef gh ij kl", 48, 0, 1, 3, "e10,20 f15,20 g24,20 h29,20 i38,20 j43,20 300"},
      {"ab\nef gh ij kl", 48, 0, 2, 3, "i10,20 j15,20 k24,20 l29,20 200"},
      {"ab\n", 48, 0, 0, 1, "a10,20 b15,20 100"},  // a page end on the last byte starts no page
      // Pictures that cannot be read take no room.
      {"a<IMAGE>none.bmp<P>b<IMAGE>text.bmp<P>c<IMAGE>cut.bmp<P>d<IMAGE>huge.bmp<P>e<IMAGE><P>f<IMAGE>dir.bmp", 200,
       60, 0, 1, "a10,20 b15,20 c20,20 d25,20 e30,20 f35,20 300"},
  };
  WriteFileBytes(folder + "text.bmp", {'n', 'o', 't', ' ', 'B', 'M', 'P'});
  Bytes cut = ReadFileBytes(folder + "p33.bmp"), huge = cut;
  cut.resize(cut.size() / 2);
  std::fill(huge.begin() + 18, huge.begin() + 26, 0x40);  // 1077952576 x 1077952576 pixels
  WriteFileBytes(folder + "cut.bmp", cut);
  WriteFileBytes(folder + "huge.bmp", huge);
  mkdir((folder + "dir.bmp").c_str(), 0755);
  for (const auto& c : cases) {
    Lay(c.text, c.width, c.height);
    EXPECT_EQ(box.lastPage + 1, c.pages) << c.text;
    SDL_FillRect(ScreenSurface, nullptr, kPicture);  // shows unless the background covers it
    EXPECT_EQ(Page(c.page), c.digest) << c.text << " page " << c.page;
  }
}

TEST_F(TextBoxTest, PagesTurnWithinTheirRangeAndStopAtOneHundred) {
  Lay("ab", 48, 0);
  box.NextPage();
  box.PreviousPage();
  EXPECT_EQ(box.currentPage, 0);
  Lay("ab\ncd\nef", 48, 0);
  box.PreviousPage();
  EXPECT_EQ(box.currentPage, 0);
  for (int turn = 0; turn < 3; ++turn) box.NextPage();
  EXPECT_EQ(box.currentPage, 2);
  box.PreviousPage();
  EXPECT_EQ(box.currentPage, 1);
  std::string many;
  for (int i = 0; i < 150; ++i) many += "a\n";
  Lay(many, 48, 0);  // keeps the page it was on
  EXPECT_EQ(box.currentPage, 1);
  EXPECT_EQ(box.lastPage, kMaxPages - 1);
  EXPECT_EQ(box.pageStart[kMaxPages - 1], box.text + 2 * (kMaxPages - 1));
  EXPECT_EQ(box.left + box.width, 58);  // the fields after the page table are untouched
  EXPECT_EQ(Page(kMaxPages - 1), "a10,20 50");

  // Junk of every byte value, and a megabyte of words, lay out and draw every page.
  std::string junk;
  for (int i = 0; i < 65536; ++i) junk += static_cast<char>((i * 7919 + i / 255) % 255 + 1);
  const std::string huge(10000, '/');
  for (const std::string& t : {junk, "ab<" + huge, "ab<IMAGE>" + huge, "ab<" + huge + ">cd"}) {
    Lay(t, 205, 190);
    for (int page = 0; page <= box.lastPage; ++page) Page(page);
  }
  EXPECT_EQ(Digest(), "a10,20 b15,20 c20,20 d25,20 200");  // the long tag skipped whole
  std::string mega;
  while (mega.size() < 1 << 20) mega += "the swarm steps down at every turn\n";
  Lay(mega, 205, 190);
  EXPECT_EQ(box.lastPage, kMaxPages - 1);
}

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
