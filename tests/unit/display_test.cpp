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
    ScreenLayout at;
  } fits[] = {{1280, 1024, {1280, 1024, 3, 280, 32}},
              {3840, 2160, {3840, 2160, 6, 1200, 120}},
              {1276, 995, {1276, 995, 3, 278, 17}},
              {240, 320, {240, 320, 1, 0, 0}},
              {0, 0, {240, 320, 1, 0, 0}}};
  for (const auto& c : fits) {
    const ScreenLayout at = FitScreen(c.w, c.h);
    EXPECT_EQ(std::tie(at.width, at.height, at.scale, at.left, at.top),
              std::tie(c.at.width, c.at.height, c.at.scale, c.at.left, c.at.top))
        << c.w << "x" << c.h;
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
    EXPECT_EQ(MapToGame(FitScreen(1280, 1024), c.x, c.y, gx, gy), c.inside) << c.x << "," << c.y;
    EXPECT_EQ(gx * 1000 + gy, c.gx * 1000 + c.gy) << c.x << "," << c.y;
  }
}

// The window with its frame fits the work area at the largest whole scale (at most 4), the
// frame centred in it; when even scale 1 is too big, its top-left corner stays reachable.
TEST(WindowMode, TheWindowWithItsFrameFitsTheWorkAreaCentred) {
  const struct {
    WorkArea area;
    int scale, x, y;  // the frame's top-left corner on the desktop
  } fits[] = {
      {{0, 0, 1280, 1024, 0, 0, 0, 0}, 3, 280, 32},     // no window manager
      {{0, 0, 1280, 976, 1, 1, 20, 1}, 2, 399, 157},    // a 48-pixel panel and a title bar
      {{0, 0, 1280, 1024, 1, 1, 20, 1}, 3, 279, 21},    // the title bar alone
      {{0, 32, 1920, 1048, 0, 0, 37, 0}, 3, 600, 57},   // a top bar
      {{48, 0, 1232, 1024, 4, 4, 30, 4}, 3, 300, 15},   // a dock on the left
      {{0, 0, 3840, 2112, 1, 1, 20, 1}, 4, 1439, 405},  // a big desktop: at most 4
      {{0, 24, 320, 400, 2, 2, 20, 2}, 1, 38, 53},      // only scale 1 fits
      {{10, 20, 200, 300, 1, 1, 20, 1}, 1, 10, 20},     // not even that
  };
  for (const auto& c : fits) {
    const WindowPlace place = FitWindow(c.area);
    const ScreenLayout& at = place.layout;
    EXPECT_EQ(std::make_tuple(at.width, at.height, at.scale, at.left, at.top, place.x, place.y),
              std::make_tuple(240 * c.scale, 320 * c.scale, c.scale, 0, 0, c.x, c.y))
        << c.area.left << "," << c.area.top << " " << c.area.width << "x" << c.area.height;
  }
}
