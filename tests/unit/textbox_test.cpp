// Text on the screen, compared as digests of what is drawn (each glyph of a painted font by its
// character and corner, pictures by place and size): plain strings, and the help box's pages
// laid out from small mark-up texts; how the text is broken into pages; damaged or huge texts
// and pictures.
#include "text/textbox.h"

#include "resources/images.h"
#include "tests/support/harness.h"

namespace {

constexpr int kHelpArea = -1;

// Regular glyphs 5 x 10, bold ones 7 x 16; the text area starts at (10, 20).
class TextBoxTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    owned = {PaintedFont(5, 10, kRegularBase, kRegularCorner),
             PaintedFont(7, 16, kBoldBase, kBoldCorner), MakeSurface(240, 320)};
    ASSERT_TRUE(EnterFolder(folder.c_str()));  // help pictures open from the game's folder
    for (auto [name, w, h] : {std::tuple{"p33.bmp", 33, 7},
                              {"p105.bmp", 105, 4},
                              {"p30.bmp", 20, 30},
                              {"p31.bmp", 20, 31},
                              {"p180.bmp", 4, 180},
                              {"p171.bmp", 4, 171}}) {
      SDL_Surface* picture = MakeSurface(w, h, kPicture);
      SDL_SaveBMP(picture, (std::string("data/") + name).c_str());
      SDL_FreeSurface(picture);
    }
  }
  // Lays a text out in an area at (10, 20), or in the help screen's (width kHelpArea).
  void Lay(const std::string& newText, int width, int height) {
    box.SetRegularFont(owned[0]);
    box.SetBoldFont(owned[1]);
    box.SetBackground(owned[2]);
    box.SetRect(10, 20, width, height);
    box.UseFont(0);
    if (width == kHelpArea) {
      Images[kFontWhite] = owned[0];
      Images[kHelp] = owned[2];
      PrepareHelpBox(box);
    }
    box.SetText((text = newText).c_str());  // the box keeps a pointer to the text
  }
  std::string Page(int page) {
    box.currentPage = static_cast<int16_t>(page);
    box.DrawBox();
    return Digest();
  }
  TextBox box;
  std::string text;
};

TEST_F(TextBoxTest, PagesAreLaidOutDrawnAndTurnedByTheMarkUpRules) {
  const struct {
    std::string text;
    int width, height, page, pages;
    const char* digest;
  } cases[] = {
      // A word that ends exactly at the right edge stays; one pixel less and it wraps, without the
      // space.
      {"ab cd ef", 38, 60, 0, 1, "a10,20 b15,20 c24,20 d29,20 e38,20 f43,20 300"},
      {"ab cd ef", 37, 60, 0, 1, "a10,20 b15,20 c24,20 d29,20 e10,30 f15,30 300"},
      // Two spaces, carriage returns, paragraphs two lines down and indented.
      {"ab  c\r\nd\n\ne", 200, 100, 0, 1, "a10,20 b15,20 c28,20 d30,40 e30,80 250"},
      // The word before a paragraph end is measured with the next one; ">" takes room unseen.
      {"a bc>>\nde", 34, 60, 0, 1, "a10,20 b10,30 c15,30 d30,50 e35,50 250"},
      // A run ends at "<"; a word right after a tag is never wrapped; unknown tags take no room.
      {"a bc<X>de", 28, 60, 0, 1, "a10,20 b19,20 c24,20 d29,20 e34,20 250"},
      {"ab<XYZ cd", 200, 60, 0, 1, "a10,20 b15,20 100"},
      // Tags match whole and case-sensitively; bold sets the width and the line height.
      {"a<bold>b<BOLDX>c<BOLD>d\ne</bold>x</BOLDX>y</BOLD>f", 200, 100, 0, 1,
       "a10,20 b15,20 c20,20 *d25,20 *e30,52 *x37,52 *y44,52 f51,52 648"},
      {"ab<BOLD", 200, 60, 0, 1, "*a10,20 *b17,20 224"},  // still bold after the layout pass
      // Pictures: centred with the division truncated, text going on at the left below.
      {"ab<IMAGE>data\\p33.bmp<P>cd", 100, 60, 0, 1, "a10,20 b15,20 c10,37 d15,37 P43,30 431"},
      // First on its page: stays though too tall.
      {"<IMAGE>data\\p105.bmp", 100, 0, 0, 1, "P8,30 420"},
      {"ab\ncd e<IMAGE>data\\p30.bmp<P>hi", 100, 60, 0, 1,
       "a10,20 b15,20 c30,40 d35,40 e44,40 h10,80 i15,80 P50,50 950"},
      // A picture that does not fit starts the next page with the byte before it.
      {"ab\ncd e<IMAGE>data\\p31.bmp<P>hi", 100, 60, 0, 2,
       "a10,20 b15,20 c30,40 d35,40 e44,40 250"},
      {"ab\ncd e<IMAGE>data\\p31.bmp<P>hi", 100, 60, 1, 2, "e10,20 h10,61 i15,61 P50,30 770"},
      // Pages are measured with the paragraph indent but drawn without it.
      {"ab\nef gh ij kl", 48, 0, 1, 3, "e10,20 f15,20 g24,20 h29,20 i38,20 j43,20 300"},
      {"ab\nef gh ij kl", 48, 0, 2, 3, "i10,20 j15,20 k24,20 l29,20 200"},
      {"ab\n", 48, 0, 0, 1, "a10,20 b15,20 100"},  // a page end on the last byte starts no page
      // Pictures that cannot be read take no room: missing, not a BMP, no path at all, a folder.
      // (Damaged pictures in every other way are the fuzzer's.)
      {"a<IMAGE>none.bmp<P>b<IMAGE>text.bmp<P>c<IMAGE><P>d<IMAGE>data", 200, 60, 0, 1,
       "a10,20 b15,20 c20,20 d25,20 200"},
      // The help screen's area, 205 x 190 at (19, 60): a run that ends at its right edge stays,
      // one a pixel longer wraps (">" is measured, not drawn); a picture that ends at its bottom
      // stays, one a pixel lower goes to the next page.
      {"a     " + std::string(36, '>') + " b<IMAGE>data\\p180.bmp", kHelpArea, 0, 0, 1,
       "a19,60 b48,60 P119,70 820"},
      {"a    " + std::string(37, '>') + " b<IMAGE>data\\p171.bmp", kHelpArea, 0, 0, 2,
       "a19,60 b23,70 100"},
  };
  WriteFileBytes(folder + "text.bmp", {'n', 'o', 't', ' ', 'B', 'M', 'P'});
  for (const auto& c : cases) {
    Lay(c.text, c.width, c.height);
    EXPECT_EQ(box.lastPage + 1, c.pages) << c.text;
    SDL_FillRect(ScreenSurface, nullptr, kPicture);  // shows unless the background covers it
    EXPECT_EQ(Page(c.page), c.digest) << c.text << " page " << c.page;
  }
  // A text stops at one hundred pages.
  std::string many;
  for (int i = 0; i < 150; ++i) many += "a\n";
  Lay(many, 48, 0);
  EXPECT_EQ(box.lastPage, kMaxPages - 1);
  EXPECT_EQ(Page(kMaxPages - 1), "a10,20 50");
}

TEST_F(TextBoxTest, DrawTextCutsGlyphsBetweenTheirMarkersAndMovesThePen) {
  // A font with fewer markers keeps the old entries past them but draws only its own glyphs.
  Images[kFontWhite] = owned[0];
  SelectFont(kFontWhite);
  owned.push_back(Images[kFontWhite] = PaintedFont(5, 10, kRegularBase, kRegularCorner, 3));
  SelectFont(kFontWhite);
  // Spaces advance 4, a newline goes back to the x given and 15 down, bytes without a glyph
  // leave no gap.
  DrawText("! \"  $#\n\x01\xC8~\"!", 20, 30, kFontWhite);
  EXPECT_EQ(Digest(), "!20,30 \"29,30 #42,30 \"20,45 !25,45 250");
}

}  // namespace
