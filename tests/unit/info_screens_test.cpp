// The help, about and support screens run for real: paging the help text, the overlapping
// Previous and Close areas, the page kept after a quit, and the buttons' edges.
#include "frontend/info_screens.h"

#include <string>
#include <utility>
#include <vector>

#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"
#include "tests/support/screen_watch.h"
#include "text/font.h"
#include "text/textbox.h"

namespace {

class HelpTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    SelectFont(kFontWhite);
    PrepareHelpBox(HelpBox);
    HelpBox.currentPage = 0;
    UseHostInput(&watch);
    // At every wait: which page the box says it shows, and what the text area holds.
    watch.beforeWait = [this] { seen.emplace_back(HelpBox.currentPage, TextArea()); };
  }

  // Paragraphs of different lengths, so every page looks different.
  void AttachText(int paragraphs) {
    text.clear();
    for (int i = 0; i < paragraphs; ++i) text += "Line " + std::string(1 + i % 7, 'x') + " end\n";
    HelpBox.SetText(text.c_str());
  }
  // The pixels of the text area, where the pages differ.
  std::vector<uint32_t> TextArea() const {
    std::vector<uint32_t> pixels;
    for (int y = 60; y < 270; y += 1)
      for (int x = 19; x < 224; x += 3) pixels.push_back(ScreenPixel(x, y));
    return pixels;
  }
  // What page k looks like when drawn on its own.
  std::vector<uint32_t> PageLooks(int16_t k) {
    const int16_t keep = HelpBox.currentPage;
    HelpBox.currentPage = k;
    HelpBox.DrawBox();
    HelpBox.currentPage = keep;
    return TextArea();
  }
  // The pages shown at the waits; each must look exactly like that page drawn alone.
  std::vector<int> PagesShown() {
    std::vector<int> pages;
    for (const auto& [page, pixels] : seen) {
      EXPECT_EQ(pixels, PageLooks(page)) << "the screen does not show page " << page;
      pages.push_back(page);
    }
    return pages;
  }

  WatchingHost watch{host};
  std::string text;
  std::vector<std::pair<int16_t, std::vector<uint32_t>>> seen;
};

TEST_F(HelpTest, NextReachingPageFourClosesAndTheNextVisitStartsAtZero) {
  AttachText(80);
  ASSERT_GE(HelpBox.lastPage, 5) << "the text must be long enough for this test";
  ASSERT_NE(PageLooks(0), PageLooks(1));
  host.Press(160, 288).Press(218, 322).Press(170, 300).Press(200, 300);
  EXPECT_EQ(RunHelpScreen(), 1);
  EXPECT_EQ(PagesShown(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(HelpBox.currentPage, 0);
  EXPECT_EQ(host.Pending(), 0u);

  seen.clear();
  host.Press(120, 300);  // Close
  EXPECT_EQ(RunHelpScreen(), 1);
  EXPECT_EQ(PagesShown(), (std::vector<int>{0}));
}

TEST_F(HelpTest, ShortTextStaysOnItsLastPageAndOnlyCloseLeaves) {
  AttachText(14);
  ASSERT_EQ(HelpBox.lastPage, 1) << "the text must fill exactly two pages";
  host.Press(170, 300).Press(170, 300).Press(170, 300).Press(60, 300).Press(60, 300);
  host.Press(120, 300);
  EXPECT_EQ(RunHelpScreen(), 1);
  EXPECT_EQ(PagesShown(), (std::vector<int>{0, 1, 1, 1, 0, 0}));
  EXPECT_EQ(HelpBox.currentPage, 0);
}

TEST_F(HelpTest, TapWherePreviousAndCloseOverlapTurnsBackAndCloses) {
  AttachText(80);
  host.Press(170, 300).Press(170, 300).Press(100, 300);
  EXPECT_EQ(RunHelpScreen(), 1);
  // The page turned back to 1 and was shown before the close (which draws nothing).
  const std::vector<uint32_t> left = TextArea();
  EXPECT_EQ(left, PageLooks(1));
  EXPECT_EQ(PagesShown(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(HelpBox.currentPage, 0);

  // Previous alone (left of Close) from page 2 goes to page 1 and stays open.
  seen.clear();
  host.Press(170, 300).Press(170, 300).Press(94, 300).Press(120, 300);
  EXPECT_EQ(RunHelpScreen(), 1);
  EXPECT_EQ(PagesShown(), (std::vector<int>{0, 1, 2, 1}));
}

TEST_F(HelpTest, QuitKeepsThePageForTheNextVisit) {
  AttachText(80);
  host.Press(170, 300).Press(170, 300).Quit().Press(120, 300);
  EXPECT_EQ(RunHelpScreen(), 3);
  EXPECT_EQ(HelpBox.currentPage, 2);
  EXPECT_EQ(host.Pending(), 1u);
  seen.clear();
  EXPECT_EQ(RunHelpScreen(), 1);
  EXPECT_EQ(PagesShown(), (std::vector<int>{2}));
}

TEST_F(HelpTest, ButtonEdges) {
  AttachText(80);
  // Previous (50, 288)-(109, 323), Next (160, 288)-(219, 323), Close (95, 290)-(146, 318).
  // First taps just outside each (Close's edges tested where Previous does not reach).
  host.Press(219, 300).Press(200, 323).Press(159, 300);       // not Next
  host.Press(49, 300).Press(109, 289).Press(80, 323);         // not Previous
  host.Press(146, 300).Press(120, 318).Press(120, 289);       // not Close
  host.Press(160, 288);                                       // Next's corner: page 1
  host.Press(50, 288);                                        // Previous's corner: page 0
  host.Press(218, 322).Press(108, 289);                       // page 1, page 0
  host.Press(145, 317);                                       // Close's last pixel
  EXPECT_EQ(RunHelpScreen(), 1);
  EXPECT_EQ(PagesShown(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0}));
  EXPECT_EQ(host.Pending(), 0u);
}

TEST_F(HelpTest, EmptyTextShowsTheBackgroundAndCloses) {
  AttachText(0);
  host.Press(170, 300).Press(60, 300).Press(120, 300);
  EXPECT_EQ(RunHelpScreen(), 1);
  EXPECT_EQ(PagesShown(), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(ScreenPixel(100, 100), ReadPixel(100, 100, Images[kHelp]));
}

class AboutSupportTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    UseHostInput(&watch);
  }
  WatchingHost watch{host};
};

TEST_F(AboutSupportTest, AboutButtonsAndTheirEdges) {
  // Back (4, 288)-(68, 313), Support (80, 288)-(163, 314); these lie outside both.
  host.Press(68, 300).Press(30, 313).Press(3, 300).Press(30, 287);
  host.Press(163, 300).Press(100, 314).Press(79, 300).Press(100, 287);
  host.Release(10, 300).KeyDown(SDLK_RETURN);
  host.Press(4, 288);
  EXPECT_EQ(RunAboutScreen(), 1);
  EXPECT_EQ(host.Pending(), 0u);
  EXPECT_EQ(watch.Screens(), std::vector<int>(11, kAbout));

  host.Press(67, 312);
  EXPECT_EQ(RunAboutScreen(), 1);
  host.Press(80, 288);
  EXPECT_EQ(RunAboutScreen(), 2);
  host.Press(162, 313);
  EXPECT_EQ(RunAboutScreen(), 2);
  host.Quit();
  EXPECT_EQ(RunAboutScreen(), 3);
}

TEST_F(AboutSupportTest, SupportHasOnlyItsBackButton) {
  host.Press(100, 300).Press(68, 300).Press(30, 313);  // about's support area, outside back
  host.Press(4, 288);
  EXPECT_EQ(RunSupportScreen(), 1);
  EXPECT_EQ(watch.Screens(), std::vector<int>(4, kSupport));
  host.Press(67, 312);
  EXPECT_EQ(RunSupportScreen(), 1);
  host.Quit().Press(10, 300);
  EXPECT_EQ(RunSupportScreen(), 3);
  EXPECT_EQ(host.Pending(), 1u);
}

}  // namespace
