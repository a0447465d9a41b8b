// The display choice as its file says it, and the whole-number layout of the game's screen on a
// desktop.
#include <fstream>

#include "platform/config_file.h"
#include "platform/desktop/wayland_window.h"
#include "platform/desktop/window_mode.h"
#include "resources/draw.h"
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
               {" \tfullscreen\t=\t0 \r\n", false},
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
  EXPECT_TRUE(LoadDisplayConfig().fullscreen);  // no file yet
  ASSERT_TRUE(SaveDisplayConfig({}));           // makes the folder
  for (const auto& c : cases) {
    std::ofstream(DisplayConfigPath(), std::ios::binary) << c.text;
    EXPECT_EQ(LoadDisplayConfig().fullscreen, c.fullscreen) << c.text.substr(0, 40);
  }
}

// A layout as text: its size, scale and top-left corner.
static std::string Text(const ScreenLayout& at) {
  return std::to_string(at.width) + "x" + std::to_string(at.height) + " x" +
         std::to_string(at.scale) + " at " + std::to_string(at.left) + "," + std::to_string(at.top);
}

// The file lies in $XDG_CONFIG_HOME/zorblats/, else in ~/.config/zorblats/; nowhere when
// neither is an absolute path.
TEST_F(DisplayConfigFile, LiesInTheUsersConfigFolder) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
  for (auto [xdg, to, path] : {std::tuple{"/x", "/h", "/x/zorblats/zorblats.conf"},
                               {"", "/h", "/h/.config/zorblats/zorblats.conf"},
                               {"x", "/h", "/h/.config/zorblats/zorblats.conf"},
                               {"x", "h", ""}}) {
    setenv("XDG_CONFIG_HOME", xdg, 1);
    setenv("HOME", to, 1);
    EXPECT_EQ(DisplayConfigPath(), path) << xdg << " " << to;
  }
  setenv("HOME", home.c_str(), 1);
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
  for (const auto& c : fits) EXPECT_EQ(Text(FitScreen(c.w, c.h)), Text(c.at)) << c.w << "x" << c.h;
  const struct {
    int x, y;
    bool inside;
    int gx, gy;
  } taps[] = {{280, 32, true, 0, 0},      {279, 32, false, 0, 0},     {282, 34, true, 0, 0},
              {283, 35, true, 1, 1},      {999, 991, true, 239, 319}, {1000, 991, false, 239, 319},
              {580, 347, true, 100, 105}, {0, 1023, false, 0, 319}};
  for (const auto& c : taps) {
    int gx = -1, gy = -1;
    const bool inside = MapToGame(FitScreen(1280, 1024), c.x, c.y, gx, gy);
    EXPECT_EQ(std::tuple(inside, gx, gy), std::tuple(c.inside, c.gx, c.gy)) << c.x << "," << c.y;
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
    EXPECT_EQ(std::tuple(Text(place.layout), place.x, place.y),
              std::tuple(Text({240 * c.scale, 320 * c.scale, c.scale, 0, 0}), c.x, c.y))
        << c.area.left << "," << c.area.top << " " << c.area.width << "x" << c.area.height;
  }
}

// A Wayland window of so many device pixels is made so many units wide and high: sdl12-compat
// takes (int)(scaling * pixels), the scaling read as a float, and both sides must come out.
TEST(WindowMode, TheWindowScalingGivesTheWindowItsUnits) {
  const WindowSize sizes[] = {{720, 960, 360, 480},    {720, 960, 576, 768},
                              {1915, 1044, 1532, 835}, {1913, 1044, 1530, 835},
                              {719, 961, 411, 549},    {3840, 2160, 1920, 1080}};
  for (const WindowSize& size : sizes) {
    AskWindowUnits(size);
    const float scaling = std::strtof(std::getenv("SDL12COMPAT_WINDOW_SCALING"), nullptr);
    EXPECT_EQ(std::pair(int(scaling * size.width), int(scaling * size.height)),
              std::pair(size.unitsWide, size.unitsHigh))
        << size.width << "x" << size.height;
  }
}

// The display shows what was presented, however it was flipped: changes in several places at
// once, more bands than the display takes in one update, a part flip that leaves a change
// outside it unshown; after a mode switch or an expose, the whole of the game's screen.
TEST_F(GameTest, TheDisplayShowsWhatWasPresentedAndAllOfItAfterAModeSwitchOrAnExpose) {
  ChooseStartMode(StartMode::FullScreen);
  SDL_Surface* game = OpenGameScreen();
  ASSERT_NE(game, nullptr);
  UseScreenOutput(nullptr);
  SDL_Surface* expected = MakeSurface(240, 320);
  // d: draw a rectangle in a new colour; p: present a part; F: present all; s: the display
  // loses its picture, then is exposed; t: the other mode.
  const struct {
    char step;
    int x, y, w, h;
  } steps[] = {{'d', 0, 0, 240, 320},   {'F', 0, 0, 240, 320}, {'d', 3, 5, 1, 1},
               {'d', 200, 300, 40, 20}, {'F', 0, 0, 240, 320}, {'d', 0, 100, 240, 2},
               {'d', 60, 7, 9, 190},    {'p', 55, 0, 10, 150}, {'F', 0, 0, 240, 320},
               {'d', 17, 40, 200, 1},   {'s', 0, 0, 240, 320}, {'d', 1, 1, 1, 1},
               {'t', 0, 0, 240, 320},   {'t', 0, 0, 240, 320}, {'F', 0, 0, 240, 320}};
  for (int i = 0, painted = 0; const auto& s : steps) {
    ++i;
    SDL_Rect area{int16_t(s.x), int16_t(s.y), uint16_t(s.w), uint16_t(s.h)};
    if (s.step == 'd') {
      for (int line = 0; line < (s.h == 1 ? 12 : 1); ++line)  // one row: a dozen rows apart
        FillRect(game, s.x, s.y + 20 * line, s.w, s.h, uint16_t(0x1234 * ++painted));
      continue;
    }
    if (s.step != 's' && s.step != 't') PresentScreen(game, s.step == 'p' ? &area : nullptr);
    SDL_BlitSurface(game, &area, expected, &area);  // the whole game's screen but at 'p'
    if (s.step == 's') {
      SDL_FillRect(SDL_GetVideoSurface(), nullptr, 0xFFFF);
      SDL_Event expose{SDL_VIDEOEXPOSE};
      TakeWindowEvent(expose);
    }
    if (s.step == 't') {
      ASSERT_TRUE(ToggleFullScreen());
    }
    SDL_Surface* video = SDL_GetVideoSurface();
    const ScreenLayout at = FitScreen(video->w, video->h);
    int wrong = 0;
    for (int y = 0; y < 320 * at.scale; ++y)
      for (int x = 0; x < 240 * at.scale; ++x)
        wrong += ReadPixel(at.left + x, at.top + y, video) !=
                 ReadPixel(x / at.scale, y / at.scale, expected);
    EXPECT_EQ(wrong, 0) << "after step " << i << " " << s.step;
  }
  SDL_FreeSurface(expected);
}
