// The help text box: where words, paragraphs, bold runs and pictures land, and how the
// text is broken into pages.
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "resources/draw.h"
#include "tests/support/harness.h"
#include "tests/support/screen_blocks.h"
#include "text/textbox.h"

namespace {

constexpr uint16_t kMarker = 0xF81F;   // row-0 marker colour of the test fonts
constexpr uint16_t kGap = 0x1111;      // the marker columns below row 0
constexpr uint16_t kRegular = 0x4000;  // glyph of code 33 + k is kRegular + k in font 0
constexpr uint16_t kBold = 0x6000;     // ... and kBold + k in font 1
constexpr uint16_t kPicture = 0x07E0;  // inline pictures are pure green
constexpr uint16_t kBackdrop = 0x0841;

uint16_t Regular(char c) { return static_cast<uint16_t>(kRegular + c - 33); }
uint16_t Bold(char c) { return static_cast<uint16_t>(kBold + c - 33); }

// A font strip with one solid block per glyph, row 0 included: glyph k (code 33 + k) is
// `width` wide and filled with base + k; markers before each glyph and after the last.
SDL_Surface* MakeBlockFont(int glyphs, int width, int height, uint16_t base) {
  SDL_Surface* font = MakeSurface(glyphs * (width + 1) + 1, height, kGap);
  for (int k = 0; k <= glyphs; ++k) FillRect(font, k * (width + 1), 0, 1, 1, kMarker);
  for (int k = 0; k < glyphs; ++k) {
    FillRect(font, k * (width + 1) + 1, 0, width, height, static_cast<uint16_t>(base + k));
  }
  return font;
}

bool Absent(uint16_t colour) { return Find(colour).pixels == 0; }

// Every box here: glyphs 5 wide, regular line height 10, bold glyphs 7 wide and 16 high,
// text area from (10, 20), so right = 10 + width and bottom = 20 + height. The background
// is black, so each DrawBox starts from a clean screen.
class TextBoxTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    regular = MakeBlockFont(95, 5, 10, kRegular);
    bold = MakeBlockFont(95, 7, 16, kBold);
    black = MakeSurface(240, 320, 0);
    owned.insert(owned.end(), {regular, bold, black});
    box.SetBackground(black);
    box.SetRegularFont(regular);
    box.SetBoldFont(bold);
    box.UseFont(0);
  }

  // Lays the text out in an area of this size, then draws page `page`.
  void Show(const char* text, int width, int height, int page = 0) {
    box.SetRect(10, 20, width, height);
    box.SetText(text);
    DrawPage(page);
  }
  void DrawPage(int page) {
    box.currentPage = static_cast<int16_t>(page);
    box.DrawBox();
  }

  // Writes a solid green BMP into the temporary game folder; returns its full path.
  std::string WritePicture(const std::string& name, int w, int h) {
    SDL_Surface* picture = MakeSurface(w, h, kPicture);
    const std::string path = folder + name;
    EXPECT_EQ(SDL_SaveBMP(picture, path.c_str()), 0);
    SDL_FreeSurface(picture);
    return path;
  }

  SDL_Surface* regular = nullptr;
  SDL_Surface* bold = nullptr;
  SDL_Surface* black = nullptr;
  TextBox box;
};

TEST(HelpBoxStart, StartsEmptyOnPageZeroWithTheRegularFont) {
  EXPECT_EQ(HelpBox.currentPage, 0);
  EXPECT_EQ(HelpBox.lastPage, 0);
  EXPECT_EQ(HelpBox.currentFont, 0);
  EXPECT_EQ(HelpBox.text, nullptr);
  EXPECT_EQ(HelpBox.background, nullptr);
  EXPECT_EQ(HelpBox.fonts[0], nullptr);
  EXPECT_EQ(HelpBox.fonts[1], nullptr);
  EXPECT_EQ(HelpBox.left + HelpBox.top + HelpBox.width + HelpBox.height, 0);
}

TEST_F(TextBoxTest, DrawBoxPutsTheBackgroundUnderThePage) {
  SDL_Surface* backdrop = MakeSurface(240, 320, kBackdrop);
  owned.push_back(backdrop);
  box.SetBackground(backdrop);
  box.SetRect(10, 20, 100, 60);
  box.SetText("ab");
  SDL_FillRect(ScreenSurface, nullptr, 0);
  box.DrawBox();
  EXPECT_EQ(ScreenPixel(0, 0), kBackdrop);
  EXPECT_EQ(ScreenPixel(239, 319), kBackdrop);
  EXPECT_TRUE(IsBlockAt(Regular('a'), 10, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('b'), 15, 20, 5, 10));

  // An empty text draws the background only.
  box.SetText("");
  SDL_FillRect(ScreenSurface, nullptr, 0);
  box.DrawBox();
  EXPECT_EQ(Find(kBackdrop).pixels, 240 * 320);
}

TEST_F(TextBoxTest, WordsFillTheLineUpToTheRightEdgeThenWrapToTheLeft) {
  // abc 10..25, space to 29, def 29..44, space to 48: ghi would end at 63.
  Show("abc def ghi", 53, 60);  // right = 63: ghi still fits
  EXPECT_TRUE(IsBlockAt(Regular('g'), 48, 20, 5, 10));
  Show("abc def ghi", 52, 60);  // right = 62: ghi goes to the next line, without the space
  EXPECT_TRUE(IsBlockAt(Regular('a'), 10, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('d'), 29, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('g'), 10, 30, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('i'), 20, 30, 5, 10));
  EXPECT_EQ(box.lastPage, 0);
}

TEST_F(TextBoxTest, TwoSpacesMakeAnEightPixelGap) {
  Show("ab  cd", 200, 60);
  EXPECT_TRUE(IsBlockAt(Regular('c'), 28, 20, 5, 10));
}

TEST_F(TextBoxTest, ParagraphsGoDownTwoLinesAndIndent) {
  Show("ab\ncd\n\nef", 200, 100);
  EXPECT_TRUE(IsBlockAt(Regular('c'), 30, 40, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('e'), 30, 80, 5, 10));
  // Carriage returns change nothing.
  Show("ab\r\ncd\r\n\r\nef", 200, 100);
  EXPECT_TRUE(IsBlockAt(Regular('c'), 30, 40, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('e'), 30, 80, 5, 10));
}

TEST_F(TextBoxTest, LastWordOfAParagraphIsMeasuredWithTheNextOne) {
  // At the space, "def" + "ghi" of the next paragraph = 30 > 58 - 29, though "def" alone fits.
  Show("abc def\nghi", 48, 60);
  EXPECT_TRUE(IsBlockAt(Regular('d'), 10, 30, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('g'), 30, 50, 5, 10));
  // A run is cut at "<", not at a newline.
  Show("abc def<X>\nghi", 48, 60);
  EXPECT_TRUE(IsBlockAt(Regular('d'), 29, 20, 5, 10));
}

TEST_F(TextBoxTest, ClosingBracketsAreMeasuredButNotDrawn) {
  // "def>>" measures 25: 29 + 25 > 53, so def wraps although its letters alone would fit.
  Show("abc def>>", 43, 60);
  EXPECT_TRUE(IsBlockAt(Regular('d'), 10, 30, 5, 10));
  EXPECT_TRUE(Absent(Regular('>')));
  // High bytes and control bytes measure 0 and draw nothing.
  Show("abc def\xC8\x01\x1F\xFF", 34, 60);  // right = 44 = 29 + 15
  EXPECT_TRUE(IsBlockAt(Regular('d'), 29, 20, 5, 10));
  Show("ab\x01\x1F\xC8" "cd", 200, 60);
  EXPECT_TRUE(IsBlockAt(Regular('c'), 20, 20, 5, 10));
}

TEST_F(TextBoxTest, AWordRightAfterATagIsNeverWrapped) {
  Show("abc def<X>ghijklmnop", 48, 60);
  EXPECT_TRUE(IsBlockAt(Regular('d'), 29, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('p'), 89, 20, 5, 10));  // well past right = 58
  // Unknown tags take no room.
  Show("a<FOO>b<>c", 200, 60);
  EXPECT_TRUE(IsBlockAt(Regular('c'), 20, 20, 5, 10));
}

TEST_F(TextBoxTest, BoldTagsSwitchFontWidthAndLineHeight) {
  // Closed at the end, so the page is drawn from the regular font again.
  Show("a<BOLD>b</BOLD>c<BOLD>d\ne</BOLD>", 200, 100);
  EXPECT_TRUE(IsBlockAt(Regular('a'), 10, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Bold('b'), 15, 20, 7, 16));
  EXPECT_TRUE(IsBlockAt(Regular('c'), 22, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Bold('d'), 27, 20, 7, 16));
  EXPECT_TRUE(IsBlockAt(Bold('e'), 30, 52, 7, 16));  // two bold line heights down
  EXPECT_TRUE(Absent(Regular('b')));
  EXPECT_EQ(box.currentFont, 0);
}

TEST_F(TextBoxTest, FontInUseCarriesOverFromTheLastPass) {
  // Pagination leaves the bold font in use, so the page is drawn bold from its first byte.
  box.SetRect(10, 20, 200, 100);
  box.SetText("ab<BOLD>");
  EXPECT_EQ(box.currentFont, 1);
  DrawPage(0);
  EXPECT_TRUE(IsBlockAt(Bold('a'), 10, 20, 7, 16));
  EXPECT_TRUE(IsBlockAt(Bold('b'), 17, 20, 7, 16));
}

TEST_F(TextBoxTest, AnUnterminatedTagTakesTheRestOfTheText) {
  Show("ab<XYZ cd", 200, 60);
  EXPECT_TRUE(IsBlockAt(Regular('b'), 15, 20, 5, 10));
  EXPECT_TRUE(Absent(Regular('c')));
  EXPECT_TRUE(Absent(Regular('X')));
  // It is compared with a ">" supplied.
  box.SetRect(10, 20, 200, 60);
  box.SetText("ab<BOLD");
  EXPECT_EQ(box.currentFont, 1);
}

TEST_F(TextBoxTest, PicturesAreCentredWithTruncationAndTextGoesOnBelow) {
  const std::string narrow = WritePicture("narrow.bmp", 33, 7);
  Show(("ab<IMAGE>" + narrow + "<P>cd").c_str(), 100, 60);
  // x = 10 + (100 - 33) / 2 = 43, just below the line.
  EXPECT_TRUE(IsBlockAt(kPicture, 43, 30, 33, 7));
  EXPECT_TRUE(IsBlockAt(Regular('c'), 10, 37, 5, 10));

  // Wider than the area: (100 - 105) / 2 truncates to -2, not -3.
  const std::string wide = WritePicture("wide.bmp", 105, 4);
  Show(("<IMAGE>" + wide).c_str(), 100, 60);
  EXPECT_TRUE(IsBlockAt(kPicture, 8, 30, 105, 4));
}

TEST_F(TextBoxTest, PicturePathsAreRelativeToTheGameFolder) {
  WritePicture("data/help.bmp", 20, 5);
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(folder.c_str()), 0);
  Show("a<IMAGE>data\\help.bmp</BOLD>b", 100, 60);
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_TRUE(IsBlockAt(kPicture, 50, 30, 20, 5));
  EXPECT_TRUE(IsBlockAt(Regular('b'), 10, 35, 5, 10));
}

TEST_F(TextBoxTest, MissingPicturesTakeNoRoom) {
  Show(("ab<IMAGE>" + folder + "none.bmp<P>cd<IMAGE><P>ef<IMAGE>").c_str(), 100, 60);
  EXPECT_TRUE(IsBlockAt(Regular('c'), 20, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('e'), 30, 20, 5, 10));
  EXPECT_TRUE(Absent(Regular('n')));  // the path is never drawn
  EXPECT_EQ(box.lastPage, 0);
}

TEST_F(TextBoxTest, APictureThatDoesNotFitStartsTheNextPageWithTheByteBeforeIt) {
  // Line "cd e" at y 40, picture from 50; the area ends at 80.
  const std::string fits = WritePicture("fits.bmp", 20, 30);
  const std::string text1 = "ab\ncd e<IMAGE>" + fits + "<P>hi";
  Show(text1.c_str(), 100, 60);
  EXPECT_EQ(box.lastPage, 0);
  EXPECT_TRUE(IsBlockAt(kPicture, 50, 50, 20, 30));

  const std::string tall = WritePicture("tall.bmp", 20, 31);
  const std::string text2 = "ab\ncd e<IMAGE>" + tall + "<P>hi";
  Show(text2.c_str(), 100, 60);
  ASSERT_EQ(box.lastPage, 1);
  EXPECT_EQ(box.pageStart[1], box.text + text2.find('e'));
  // Page 0 stops at the picture, after drawing the byte before it.
  EXPECT_TRUE(IsBlockAt(Regular('e'), 44, 40, 5, 10));
  EXPECT_TRUE(Absent(kPicture));
  EXPECT_TRUE(Absent(Regular('h')));
  // Page 1: that byte again, the picture, then the text at the left below it.
  DrawPage(1);
  EXPECT_TRUE(IsBlockAt(Regular('e'), 10, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(kPicture, 50, 30, 20, 31));
  EXPECT_TRUE(IsBlockAt(Regular('h'), 10, 61, 5, 10));
  EXPECT_TRUE(Absent(Regular('a')));
}

TEST_F(TextBoxTest, APictureTallerThanAnEmptyPageStaysWhereItStarts) {
  const std::string huge = WritePicture("huge.bmp", 40, 200);
  // Met first on page 0.
  const std::string text1 = "<IMAGE>" + huge + "<P>ab\ncd";
  Show(text1.c_str(), 100, 60);
  ASSERT_EQ(box.lastPage, 1);
  EXPECT_EQ(box.pageStart[1], box.text + text1.rfind("cd"));
  EXPECT_TRUE(IsBlockAt(kPicture, 40, 30, 40, 200));
  EXPECT_TRUE(IsBlockAt(Regular('a'), 10, 230, 5, 10));

  // Met after three newlines: moved once, then kept on the page that starts before it.
  const std::string text2 = "ab\n\n\n<IMAGE>" + huge + "<P>cd";
  Show(text2.c_str(), 100, 60);
  ASSERT_EQ(box.lastPage, 1);
  EXPECT_EQ(box.pageStart[1], box.text + 4);
  DrawPage(1);
  EXPECT_TRUE(IsBlockAt(kPicture, 40, 50, 40, 200));
  EXPECT_TRUE(IsBlockAt(Regular('c'), 10, 250, 5, 10));
}

TEST_F(TextBoxTest, PagesAreMeasuredWithTheIndentButDrawnWithout) {
  // An area one line high: every wrap or paragraph break starts a page.
  const char* text = "ab\nef gh ij kl";
  Show(text, 48, 0);
  ASSERT_EQ(box.lastPage, 2);
  EXPECT_EQ(box.pageStart[0], text);
  EXPECT_EQ(box.pageStart[1], text + 3);  // "ef gh" measured from x 30
  EXPECT_EQ(box.pageStart[2], text + 9);  // "ij kl"
  DrawPage(1);
  EXPECT_TRUE(IsBlockAt(Regular('e'), 10, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('g'), 24, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('i'), 38, 20, 5, 10));  // repeated from page 2
  EXPECT_TRUE(Absent(Regular('k')));
  EXPECT_TRUE(Absent(Regular('a')));
  DrawPage(2);
  EXPECT_TRUE(IsBlockAt(Regular('i'), 10, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('k'), 24, 20, 5, 10));
}

TEST_F(TextBoxTest, APageEndOnTheLastByteStartsNoPage) {
  Show("ab\n", 48, 0);
  EXPECT_EQ(box.lastPage, 0);
  Show("abcdefghijklmnop ", 48, 0);
  EXPECT_EQ(box.lastPage, 0);
  Show("ab\nc", 48, 0);
  EXPECT_EQ(box.lastPage, 1);
}

TEST_F(TextBoxTest, PagesTurnWithinTheirRange) {
  box.SetRect(10, 20, 48, 0);
  box.SetText("ab");
  ASSERT_EQ(box.lastPage, 0);
  box.NextPage();
  EXPECT_EQ(box.currentPage, 0);
  box.PreviousPage();
  EXPECT_EQ(box.currentPage, 0);

  box.SetText("ab\ncd\nef");
  ASSERT_EQ(box.lastPage, 2);
  box.PreviousPage();
  EXPECT_EQ(box.currentPage, 0);
  box.NextPage();
  box.NextPage();
  EXPECT_EQ(box.currentPage, 2);
  box.NextPage();
  EXPECT_EQ(box.currentPage, 2);
  box.PreviousPage();
  EXPECT_EQ(box.currentPage, 1);

  // Attaching a text keeps the page.
  box.SetText("ab\ncd\nef\ngh");
  EXPECT_EQ(box.currentPage, 1);
}

TEST_F(TextBoxTest, PaginationStopsAtOneHundredPages) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "a\n";
  Show(text.c_str(), 48, 0, kMaxPages - 1);
  EXPECT_EQ(box.lastPage, kMaxPages - 1);
  EXPECT_EQ(box.pageStart[kMaxPages - 1], box.text + 2 * (kMaxPages - 1));
  // The fields after the page table are untouched.
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 20);
  EXPECT_EQ(box.width, 48);
  EXPECT_EQ(box.height, 0);
  EXPECT_TRUE(IsBlockAt(Regular('a'), 10, 20, 5, 10));
  box.NextPage();
  EXPECT_EQ(box.currentPage, kMaxPages - 1);
}

TEST_F(TextBoxTest, VeryLongTagsAndPathsAreSkippedWhole) {
  const std::string longRun(10000, 'X');
  Show(("ab<" + longRun + ">cd").c_str(), 200, 60);
  EXPECT_TRUE(IsBlockAt(Regular('c'), 20, 20, 5, 10));
  EXPECT_TRUE(Absent(Regular('X')));

  Show(("ab<IMAGE>" + longRun + "<P>cd").c_str(), 200, 60);
  EXPECT_TRUE(IsBlockAt(Regular('c'), 20, 20, 5, 10));
  EXPECT_TRUE(Absent(Regular('X')));

  // A path is kept up to 255 bytes: one that names a picture in exactly its first 255
  // bytes loads it, whatever follows.
  WritePicture("p.bmp", 10, 10);
  const std::string padding(255 - folder.size() - 5, '/');
  const std::string path255 = folder + padding + "p.bmp";
  ASSERT_EQ(path255.size(), 255u);
  Show(("<IMAGE>" + path255 + "<P>ab").c_str(), 200, 60);
  EXPECT_TRUE(IsBlockAt(kPicture, 105, 30, 10, 10));
  Show(("<IMAGE>" + path255 + longRun + "<P>ab").c_str(), 200, 60);
  EXPECT_TRUE(IsBlockAt(kPicture, 105, 30, 10, 10));
  EXPECT_TRUE(IsBlockAt(Regular('a'), 10, 40, 5, 10));

  Show(("ab<" + longRun).c_str(), 200, 60);
  EXPECT_TRUE(IsBlockAt(Regular('b'), 15, 20, 5, 10));
  EXPECT_TRUE(Absent(Regular('X')));
}

TEST_F(TextBoxTest, GlyphsPastTheFontsMarkersTakeNoRoom) {
  SDL_Surface* small = MakeBlockFont(3, 5, 10, kRegular);  // codes 33..35 only
  owned.push_back(small);
  box.SetRegularFont(small);
  box.UseFont(0);
  Show("!a~\"#", 200, 60);
  EXPECT_TRUE(IsBlockAt(Regular('!'), 10, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('"'), 15, 20, 5, 10));
  EXPECT_TRUE(IsBlockAt(Regular('#'), 20, 20, 5, 10));
  EXPECT_TRUE(Absent(kMarker));
  EXPECT_TRUE(Absent(kGap));
}

}  // namespace
