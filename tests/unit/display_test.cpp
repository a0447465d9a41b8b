// The display choice as its file says it, and the whole-number layout of the game's screen on a
// desktop.
#include <fstream>

#include "platform/config_file.h"
#include "platform/window_mode.h"
#include "tests/support/harness.h"

using DisplayConfigFile = GameTest;  // for its own $XDG_CONFIG_HOME

TEST_F(DisplayConfigFile, TakesWhatCanBeReadAndKeepsTheDefaultForTheRest) {
  const std::string pad(5000, '#');
  const std::string upToTheLimit = std::string(4083, '#') + "\nfullscreen=0";  // 4096 bytes
  const struct {
    std::string text;
    bool fullscreen;
  } cases[] = {{"", true},
               {"fullscreen=0", false},
               {"  fullscreen = 0 \r\n", false},
               {"junk\n\x01\xff=\n=\ncolour=red\nfullscreen=0\n", false},
               {"fullscreen=0x", true},
               {"#fullscreen=0\n", true},
               {"fullscreen=0\nfullscreen=1", true},
               {pad + "\nfullscreen=0\n", true},
               {"fullscreen=0\n" + pad + pad, false},
               {upToTheLimit + "1\n", true},  // a line the limit cuts
               {upToTheLimit + "\n" + pad, false},
               {upToTheLimit, false},
               {FormatDisplayConfig({false}), false}};
  ASSERT_TRUE(SaveDisplayConfig({}));  // makes the folder
  for (const auto& c : cases) {
    std::ofstream(DisplayConfigPath(), std::ios::binary) << c.text;
    EXPECT_EQ(LoadDisplayConfig().fullscreen, c.fullscreen) << c.text.substr(0, 40);
  }
}

TEST(WindowMode, TheLargestWholeScaleThatFitsCentredInFullScreenAndTapsMappedBack) {
  const struct {
    int w, h;
    bool full;
    ScreenLayout at;
  } fits[] = {
      {1280, 1024, false, {720, 960, 3, 0, 0}},  {1280, 1024, true, {1280, 1024, 3, 280, 32}},
      {3840, 2160, false, {960, 1280, 4, 0, 0}}, {3840, 2160, true, {3840, 2160, 6, 1200, 120}},
      {240, 320, true, {240, 320, 1, 0, 0}},     {0, 0, true, {240, 320, 1, 0, 0}}};
  for (const auto& c : fits) {
    const ScreenLayout at = FitScreen(c.w, c.h, c.full);
    EXPECT_EQ(std::tie(at.width, at.height, at.scale, at.left, at.top),
              std::tie(c.at.width, c.at.height, c.at.scale, c.at.left, c.at.top))
        << c.w << "x" << c.h << c.full;
  }
  const struct {
    int x, y;
    bool inside;
    int gx, gy;
  } taps[] = {{280, 32, true, 0, 0},      {279, 32, false, 0, 0},     {282, 34, true, 0, 0},
              {283, 35, true, 1, 1},      {999, 991, true, 239, 319}, {1000, 991, false, 239, 319},
              {580, 347, true, 100, 105}, {0, 1023, false, 0, 319}};
  for (const auto& c : taps) {
    int gx = -1, gy = -1;
    EXPECT_EQ(MapToGame(FitScreen(1280, 1024, true), c.x, c.y, gx, gy), c.inside)
        << c.x << "," << c.y;
    EXPECT_EQ(gx * 1000 + gy, c.gx * 1000 + c.gy) << c.x << "," << c.y;
  }
}
