// The main menu run for real on the virtual clock: its button edges, which screen each
// button opens, queued taps, quitting, and the Resume button that only a paused game has.
#include "frontend/menu.h"

#include <unistd.h>

#include <vector>

#include "settings/settings.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"
#include "tests/support/screen_watch.h"
#include "text/font.h"
#include "text/textbox.h"

namespace {

class MenuTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    SelectFont(kFontWhite);
    PrepareHelpBox(HelpBox);
    HelpBox.SetText("A short help text.");
    UseHostInput(&watch);
  }

  // Each scripted step comes 10 ms after the last, so none is queued before the menu shows.
  void Later() { host.Wait(10); }
  bool SettingsSaved() const { return access((folder + "data/zorblats.set").c_str(), F_OK) == 0; }

  WatchingHost watch{host};
};

struct Button {
  const char* name;
  Rect area;
  int screen;  // the background of the screen it opens, or -1
  FlowCode result;  // for New game and Exit
};

// The areas main.bmp paints its labels in.
const Button kButtons[] = {
    {"new game", {37, 60, 204, 83}, -1, NewGame},
    {"options", {37, 94, 204, 117}, kOptions, Quit},
    {"help", {37, 127, 204, 150}, kHelp, Quit},
    {"high scores", {37, 157, 204, 180}, kScores, Quit},
    {"about", {37, 195, 204, 218}, kAbout, Quit},
    {"exit", {37, 228, 204, 251}, -1, Quit},
};

TEST_F(MenuTest, EveryButtonHasItsLeftAndTopEdgesInsideAndItsRightAndBottomOutside) {
  for (const Button& b : kButtons) {
    const Rect& a = b.area;
    const int corners[2][2] = {{a.left, a.top}, {a.right - 1, a.bottom - 1}};
    for (const auto& corner : corners) {
      SCOPED_TRACE(std::string(b.name) + " at " + std::to_string(corner[0]) + "," +
                   std::to_string(corner[1]));
      watch.seen.clear();
      Later();
      if (b.screen >= 0) {
        host.Press(corner[0], corner[1]);
        // The sub-screen opens; a quit event there only closes it, and the menu stays.
        Later();
        host.Quit();
        EXPECT_EQ(RunMainMenu(false), Quit);  // the script runs out: quit in the menu
        EXPECT_EQ(watch.Screens(), (std::vector<int>{kMainMenu, b.screen, kMainMenu}));
      } else {
        host.Tap(corner[0], corner[1]);
        EXPECT_EQ(RunMainMenu(false), b.result);
        EXPECT_EQ(host.Pending(), 1u) << "only the button's release is left";
      }
    }
    // Just outside: right edge, bottom edge, one left of left, one above top.
    const int outside[4][2] = {{a.right, a.top}, {a.left, a.bottom}, {a.left - 1, a.top}, {a.left, a.top - 1}};
    for (const auto& point : outside) {
      SCOPED_TRACE(std::string(b.name) + " outside at " + std::to_string(point[0]) + "," +
                   std::to_string(point[1]));
      watch.seen.clear();
      Later();
      host.Tap(point[0], point[1]);
      EXPECT_EQ(RunMainMenu(false), Quit);
      EXPECT_EQ(watch.Screens(), (std::vector<int>{kMainMenu, kMainMenu, kMainMenu}));
    }
  }
}

TEST_F(MenuTest, TheNewGameButtonsRightEdgeIsOutside) {
  Later();
  host.Tap(204, 70);
  Later();
  host.Tap(37, 60);
  EXPECT_EQ(RunMainMenu(false), NewGame);
  EXPECT_EQ(host.Pending(), 1u);
}

TEST_F(MenuTest, TapsQueuedBeforeTheMenuShowsAreDropped) {
  host.Tap(100, 240);  // Exit, queued before the menu opens
  host.Tap(100, 100);  // Options, queued too
  Later();
  host.Tap(100, 70);  // New game, after the menu showed
  EXPECT_EQ(RunMainMenu(false), NewGame);
  EXPECT_EQ(watch.Screens(), (std::vector<int>{kMainMenu}));
}

TEST_F(MenuTest, QuitEventInTheMenuQuitsAndOtherEventsAreIgnored) {
  Later();
  host.KeyDown(SDLK_RETURN).Release(100, 70).Motion(100, 70).Quit();
  Later();
  host.Tap(100, 70);
  EXPECT_EQ(RunMainMenu(false), Quit);
  EXPECT_EQ(host.Pending(), 2u) << "the tap after the quit is never read";
}

TEST_F(MenuTest, ResumeIsOnlyDrawnAndHonouredWithAGameInProgress) {
  const SDL_Surface* resume = Images[kResumeButton];
  const uint32_t resumeColour = ReadPixel(0, 0, Images[kResumeButton]);
  const uint32_t menuColour = ReadPixel(60, 30, Images[kMainMenu]);
  ASSERT_NE(resumeColour, menuColour);

  // At start: not drawn, and a tap on its place does nothing.
  Later();
  host.Tap(60, 30);
  Later();
  host.Tap(55 + resume->w - 1, 24 + resume->h - 1);
  EXPECT_EQ(RunMainMenu(false), Quit);
  EXPECT_EQ(ScreenPixel(60, 30), menuColour);
  EXPECT_EQ(ScreenPixel(55 + resume->w - 1, 24 + resume->h - 1), menuColour);

  // In a game: drawn at (55, 24) with its own size, and its area answers Resume.
  Later();
  host.Tap(55 + resume->w, 24);  // right edge: outside
  Later();
  host.Tap(55, 24 + resume->h);  // bottom edge: outside
  Later();
  host.Tap(55, 24);
  EXPECT_EQ(RunMainMenu(true), Resume);
  EXPECT_EQ(ScreenPixel(55, 24), resumeColour);
  EXPECT_EQ(ScreenPixel(55 + resume->w - 1, 24 + resume->h - 1), resumeColour);
  EXPECT_EQ(ScreenPixel(55 + resume->w, 24), menuColour);
  EXPECT_EQ(ScreenPixel(55 - 1, 24), menuColour);

  Later();
  host.Tap(55 + resume->w - 1, 24 + resume->h - 1);
  EXPECT_EQ(RunMainMenu(true), Resume);
}

TEST_F(MenuTest, AfterASubScreenTheMenuIsDrawnAgainAsItWas) {
  Later();
  host.Press(100, 100);  // options
  Later();
  host.Press(10, 300);  // its back button
  EXPECT_EQ(RunMainMenu(true), Quit);
  EXPECT_EQ(watch.Screens(), (std::vector<int>{kMainMenu, kOptions, kMainMenu}));
  EXPECT_EQ(ScreenPixel(60, 30), ReadPixel(0, 0, Images[kResumeButton])) << "Resume drawn again";
  EXPECT_TRUE(SettingsSaved());
}

TEST_F(MenuTest, SupportLeadsBackToTheMenuNotToAbout) {
  Later();
  host.Press(100, 200);  // about
  Later();
  host.Press(90, 300);  // support
  Later();
  host.Press(10, 300);  // support's back
  Later();
  host.Press(100, 70);  // new game from the menu
  EXPECT_EQ(RunMainMenu(false), NewGame);
  EXPECT_EQ(watch.Screens(), (std::vector<int>{kMainMenu, kAbout, kSupport, kMainMenu}));
}

TEST_F(MenuTest, QuitEventInEachSubScreenReturnsToTheMenu) {
  // About's back, then a quit in about, support, help and the high scores.
  Later();
  host.Press(100, 200).Wait(10).Press(10, 300);
  Later();
  host.Press(100, 200).Wait(10).Quit();
  Later();
  host.Press(100, 200).Wait(10).Press(90, 300).Wait(10).Quit();
  Later();
  host.Press(100, 130).Wait(10).Quit();
  Later();
  host.Press(100, 160).Wait(10).Quit();
  Later();
  host.Tap(100, 240);  // exit
  EXPECT_EQ(RunMainMenu(false), Quit);
  EXPECT_EQ(host.Pending(), 1u) << "the menu left on the exit tap, not on a quit event";
  EXPECT_EQ(watch.Screens(),
            (std::vector<int>{kMainMenu, kAbout, kMainMenu, kAbout, kMainMenu, kAbout, kSupport, kMainMenu,
                              kHelp, kMainMenu, kScores, kMainMenu}));
}

}  // namespace
