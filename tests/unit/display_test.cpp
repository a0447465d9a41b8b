// The display choice as its file says it, and the whole-number layout of the game's screen on a
// desktop.
#include <gtest/gtest.h>

#include "platform/config_file.h"
#include "platform/window_mode.h"
#include "resources/draw.h"
#include "tests/support/harness.h"

TEST(DisplayConfig, TakesWhatCanBeReadAndKeepsTheDefaultForTheRest) {
  const std::string pad(5000, '#');
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
               {FormatDisplayConfig({false}), false}};
  for (const auto& c : cases)
    EXPECT_EQ(ParseDisplayConfig(c.text).fullscreen, c.fullscreen) << c.text.substr(0, 40);
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
    const ScreenLayout at = FitScreen(video->w, video->h, true);
    int wrong = 0;
    for (int y = 0; y < 320 * at.scale; ++y)
      for (int x = 0; x < 240 * at.scale; ++x)
        wrong += ReadPixel(at.left + x, at.top + y, video) !=
                 ReadPixel(x / at.scale, y / at.scale, expected);
    EXPECT_EQ(wrong, 0) << "after step " << i << " " << s.step;
  }
  SDL_FreeSurface(expected);
}
