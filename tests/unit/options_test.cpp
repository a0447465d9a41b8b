// The options screen run for real: marks for the current settings, the rows' touch areas,
// a redraw after every event, and a save on every way out.
#include "frontend/options.h"

#include <sys/stat.h>

#include <string>
#include <vector>

#include "settings/settings.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"
#include "tests/support/screen_watch.h"

namespace {

// Where options.bmp paints its rows: the radio mark's top-left corner for each choice.
constexpr int kMarkX = 21;
constexpr int kRows[5] = {81, 108, 136, 210, 244};

class OptionsTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    UseHostInput(&watch);
    radioColour = ReadPixel(0, 0, Images[kRadio]);
    backgroundColour = ReadPixel(kMarkX, kRows[0], Images[kOptions]);
    ASSERT_NE(radioColour, backgroundColour);
    // At every wait, note which rows show the mark.
    watch.beforeWait = [this] { marks.push_back(MarkedRows()); };
  }

  // Which of the five rows show the radio mark, as a string like "10010".
  std::string MarkedRows() const {
    std::string rows;
    const int w = Images[kRadio]->w, h = Images[kRadio]->h;
    for (int y : kRows) {
      const bool whole = ScreenPixel(kMarkX, y) == radioColour &&
                         ScreenPixel(kMarkX + w - 1, y + h - 1) == radioColour;
      rows += whole ? '1' : '0';
    }
    return rows;
  }
  std::vector<uint8_t> File() const { return ReadFileBytes(folder + "data/zorblats.set"); }

  WatchingHost watch{host};
  uint32_t radioColour = 0, backgroundColour = 0;
  std::vector<std::string> marks;
};

TEST_F(OptionsTest, FirstStartMarksTheFirstDifficultyAndSoundOn) {
  host.Tap(10, 300);
  EXPECT_EQ(RunOptionsScreen(), 1);
  ASSERT_FALSE(marks.empty());
  EXPECT_EQ(marks[0], "10010");
  EXPECT_EQ(File().size(), 211u) << "leaving saves even without a change";
}

TEST_F(OptionsTest, TappingARowMovesTheMarkAtOnceAndLeavingWritesIt) {
  host.Press(kMarkX, kRows[2]).Press(kMarkX + 5, kRows[4] + 5).Press(10, 300);
  EXPECT_EQ(RunOptionsScreen(), 1);
  EXPECT_EQ(marks, (std::vector<std::string>{"10010", "00110", "00101"}));
  EXPECT_EQ(Settings.difficulty, 2);
  EXPECT_EQ(Settings.soundOn, 0);
  const std::vector<uint8_t> file = File();
  ASSERT_EQ(file.size(), 211u);
  EXPECT_EQ(file[2], 2);
  EXPECT_EQ(file[3], 0);
  EXPECT_EQ(file[176], 0);

  // And back: difficulty 1, sound on.
  host.Press(kMarkX, kRows[1]).Press(kMarkX, kRows[3]).Press(10, 300);
  EXPECT_EQ(RunOptionsScreen(), 1);
  EXPECT_EQ(File()[2], 1);
  EXPECT_EQ(File()[176], 1);
}

TEST_F(OptionsTest, RowAreasHaveTheirRightAndBottomEdgesOutside) {
  const int w = Images[kRadio]->w, h = Images[kRadio]->h;
  // Difficulty 2 and sound off are chosen; taps just outside rows 0 and 3 must not change them.
  Settings.difficulty = 2;
  Settings.soundOn = 0;
  for (int row : {0, 3}) {
    host.Press(kMarkX + w, kRows[row]).Press(kMarkX, kRows[row] + h);
    host.Press(kMarkX - 1, kRows[row]).Press(kMarkX, kRows[row] - 1);
  }
  host.Press(kMarkX + w - 1, kRows[0] + h - 1);  // inside: difficulty 0
  host.Press(10, 300);
  EXPECT_EQ(RunOptionsScreen(), 1);
  ASSERT_EQ(marks.size(), 10u);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(marks[i], "00101") << "after tap " << i;
  EXPECT_EQ(marks[9], "10001");
}

TEST_F(OptionsTest, EveryEventRedrawsTheScreen) {
  // Scribble over the screen at every wait; the next wait must find it painted over.
  std::vector<bool> clean;
  watch.beforeWait = [this, &clean] {
    clean.push_back(ScreenPixel(120, 100) == ReadPixel(120, 100, Images[kOptions]));
    FillRect(ScreenSurface, 120, 100, 1, 1, 0x1234);
  };
  host.Press(120, 100);  // between two rows: changes nothing, still redraws
  host.Release(120, 100).Motion(3, 3).KeyDown(SDLK_a);
  host.Press(10, 300);
  EXPECT_EQ(RunOptionsScreen(), 1);
  EXPECT_EQ(clean, (std::vector<bool>(5, true)));
  EXPECT_EQ(Settings.difficulty, 0);
  EXPECT_EQ(Settings.soundOn, 1);
  EXPECT_EQ(ScreenPixel(120, 100), ReadPixel(120, 100, Images[kOptions])) << "redrawn on the way out";
}

TEST_F(OptionsTest, BackButtonEdges) {
  // Back is (6, 290)-(57, 318): these four lie just outside it.
  host.Press(57, 300).Press(30, 318).Press(5, 300).Press(30, 289);
  host.Press(6, 290);
  EXPECT_EQ(RunOptionsScreen(), 1);
  EXPECT_EQ(marks.size(), 5u);
  EXPECT_EQ(host.Pending(), 0u);

  marks.clear();
  host.Press(56, 317);
  EXPECT_EQ(RunOptionsScreen(), 1);
  EXPECT_EQ(marks.size(), 1u);
}

TEST_F(OptionsTest, QuitEventClosesAndSaves) {
  host.Press(kMarkX, kRows[1]).Quit().Press(kMarkX, kRows[2]);
  EXPECT_EQ(RunOptionsScreen(), 3);
  EXPECT_EQ(host.Pending(), 1u);
  ASSERT_EQ(File().size(), 211u);
  EXPECT_EQ(File()[2], 1);
}

TEST_F(OptionsTest, OutOfRangeValuesFromTheFile) {
  Settings.difficulty = 5;
  Settings.soundOn = 7;
  host.Press(kMarkX, kRows[1]).Press(10, 300);
  EXPECT_EQ(RunOptionsScreen(), 1);
  EXPECT_EQ(marks, (std::vector<std::string>{"00010", "01010"}));
  EXPECT_EQ(Settings.soundOn, 7) << "only a tap on a sound row changes it";
}

TEST_F(OptionsTest, FailedSaveStillClosesAndKeepsTheChoice) {
  // A folder stands where the settings file goes: the save cannot be made.
  ASSERT_EQ(mkdir((folder + "data/zorblats.set").c_str(), 0755), 0);
  host.Press(kMarkX, kRows[2]).Press(10, 300);
  EXPECT_EQ(RunOptionsScreen(), 1);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "error in settings file");
  EXPECT_EQ(Settings.difficulty, 2);
}

}  // namespace
