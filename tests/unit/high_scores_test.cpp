// The high-score screen run for real: the five rows as the table holds them, the keyboard
// picture, the back and reset buttons' edges, and the reset with Yes and with No.
#include "frontend/high_scores.h"

#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "frontend/keyboard.h"
#include "settings/settings.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"
#include "tests/support/screen_watch.h"

namespace {

// Where scores.bmp expects the table: text tops, and the number, name and score columns.
constexpr int kRowTop[5] = {86, 108, 130, 152, 174};

class HighScoreTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    UseHostInput(&watch);
  }

  // The synthetic font draws every glyph as a 5-pixel-wide white bar in rows 2 to 6 of its
  // line: the length of the white run from x on a row's ink line measures the text there.
  int InkRun(int x, int rowTop) const {
    int run = 0;
    while (x + run < 240 && ScreenPixel(x + run, rowTop + 4) == 0xFFFF) ++run;
    return run;
  }
  static void SetEntry(int place, const char* name, int32_t score) {
    std::memset(Settings.highScoreNames[place], 0, kNameFieldSize);
    std::strcpy(Settings.highScoreNames[place], name);
    Settings.highScores[place] = score;
  }
  std::vector<uint8_t> File() const { return ReadFileBytes(folder + "data/zorblats.set"); }

  WatchingHost watch{host};
};

TEST_F(HighScoreTest, EmptyTableShowsOnlyThePlaceNumbers) {
  DrawHighScoreScreen();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(InkRun(25, kRowTop[i]), 5) << "number of place " << i;
    EXPECT_EQ(InkRun(50, kRowTop[i]), 0) << "name of place " << i;
    EXPECT_EQ(InkRun(150, kRowTop[i]), 0) << "score of place " << i;
  }
  // Nothing between the rows.
  EXPECT_EQ(InkRun(25, kRowTop[0] + 11), 0);
}

TEST_F(HighScoreTest, RowsShowNameAndScoreButNoZeroScore) {
  SetEntry(0, "Ann", 12345);
  SetEntry(1, "Bo", 7);
  SetEntry(3, "Zero", 0);
  SetEntry(4, "", 0);
  DrawHighScoreScreen();
  EXPECT_EQ(InkRun(50, kRowTop[0]), 15);
  EXPECT_EQ(InkRun(150, kRowTop[0]), 25);
  EXPECT_EQ(InkRun(50, kRowTop[1]), 10);
  EXPECT_EQ(InkRun(150, kRowTop[1]), 5);
  EXPECT_EQ(InkRun(50, kRowTop[3]), 20) << "a name whose score is 0 still shows";
  EXPECT_EQ(InkRun(150, kRowTop[3]), 0) << "a score of 0 is not drawn";
  EXPECT_EQ(InkRun(25, kRowTop[3]), 5);
  EXPECT_EQ(InkRun(50, kRowTop[4]), 0);
}

TEST_F(HighScoreTest, ANameFillingItsWholeFieldIsDrawnNoFurther) {
  std::memset(Settings.highScoreNames[0], 'A', kNameFieldSize);  // no zero in the field
  SetEntry(1, "BBBBB", 0);
  DrawHighScoreScreen();
  EXPECT_EQ(InkRun(50, kRowTop[0]), 5 * kNameFieldSize);
}

TEST_F(HighScoreTest, KeyboardPictureFollowsTheLargeKeysFlag) {
  const uint32_t small = ReadPixel(0, 0, Images[kKeyboardSmall]);
  const uint32_t large = ReadPixel(0, 0, Images[kKeyboardLarge]);
  ASSERT_NE(small, large);
  DrawHighScoreScreen();
  EXPECT_EQ(ScreenPixel(0, 234), small);
  EXPECT_EQ(ScreenPixel(239, 319), small);
  EXPECT_NE(ScreenPixel(0, 233), small);
  largeKeys = 1;
  DrawHighScoreScreen();
  EXPECT_EQ(ScreenPixel(0, 234), large);
  EXPECT_EQ(ScreenPixel(239, 319), large);
}

TEST_F(HighScoreTest, BackButtonEdges) {
  // Back is (20, 209)-(65, 229).
  host.Press(65, 220).Press(19, 220).Press(30, 229).Press(30, 208);
  host.Press(20, 209);
  EXPECT_EQ(RunHighScoreScreen(), 1);
  EXPECT_EQ(watch.seen.size(), 5u);
  host.Press(64, 228);
  EXPECT_EQ(RunHighScoreScreen(), 1);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(File().empty()) << "leaving by back does not save";
}

TEST_F(HighScoreTest, QuitEventReturnsThree) {
  host.Release(30, 220).KeyDown(SDLK_x).Quit().Press(30, 220);
  EXPECT_EQ(RunHighScoreScreen(), 3);
  EXPECT_EQ(host.Pending(), 1u);
}

TEST_F(HighScoreTest, ResetButtonEdgesAndTheConfirmation) {
  SetEntry(0, "Ann", 500);
  // Reset is (123, 209)-(200, 229): these lie just outside it.
  host.Press(200, 215).Press(150, 229).Press(122, 215).Press(150, 208);
  host.Press(123, 209).Press(199, 228).Press(30, 220);
  boxes.answers = {IDNO, IDNO};
  EXPECT_EQ(RunHighScoreScreen(), 1);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, "Do you really want to reset your high scores?");
  EXPECT_EQ(boxes.shown[0].caption, "Reset High Scores?");
  EXPECT_EQ(boxes.shown[0].style, MB_YESNO);
}

TEST_F(HighScoreTest, ResetWithYesClearsTheRowsAndTheFile) {
  SetEntry(0, "Ann", 500);
  SetEntry(2, "Cid", 300);
  std::vector<int> namesAtWait;
  watch.beforeWait = [&] { namesAtWait.push_back(InkRun(50, kRowTop[0])); };
  host.Press(150, 220).Press(30, 220);
  boxes.answers = {IDYES};
  EXPECT_EQ(RunHighScoreScreen(), 1);
  EXPECT_EQ(namesAtWait, (std::vector<int>{15, 0})) << "the redraw after the box shows the cleared table";
  const std::vector<uint8_t> file = File();
  ASSERT_EQ(file.size(), 211u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(file[6 + 30 * i], 0);
    EXPECT_EQ(file[156 + 4 * i] | file[157 + 4 * i] | file[158 + 4 * i] | file[159 + 4 * i], 0);
  }
  EXPECT_EQ(file[6 + 1], 'n') << "the characters behind the zero stay in the file";
}

TEST_F(HighScoreTest, ResetWithNoKeepsTheTableButRewritesTheFile) {
  SetEntry(0, "Ann", 500);
  WriteFileBytes(folder + "data/zorblats.set", std::vector<uint8_t>(211, 0xAA));  // stale
  host.Press(150, 220).Press(30, 220);
  boxes.answers = {IDNO};
  EXPECT_EQ(RunHighScoreScreen(), 1);
  EXPECT_STREQ(Settings.highScoreNames[0], "Ann");
  EXPECT_EQ(Settings.highScores[0], 500);
  uint8_t expected[kSettingsFileSize];
  EncodeSettings(Settings, expected);
  EXPECT_EQ(File(), std::vector<uint8_t>(expected, expected + kSettingsFileSize));
  EXPECT_EQ(InkRun(50, kRowTop[0]), 15);
}

TEST_F(HighScoreTest, ResetWhoseSaveFailsKeepsTheClearedTable) {
  SetEntry(0, "Ann", 500);
  ASSERT_EQ(mkdir((folder + "data/zorblats.set").c_str(), 0755), 0);
  host.Press(150, 220).Press(30, 220);
  boxes.answers = {IDYES};
  EXPECT_EQ(RunHighScoreScreen(), 1);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, "error in settings file");
  EXPECT_EQ(Settings.highScores[0], 0);
  EXPECT_EQ(InkRun(50, kRowTop[0]), 0);
  EXPECT_EQ(InkRun(150, kRowTop[0]), 0);
}

}  // namespace
