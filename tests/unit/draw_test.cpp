// Drawing primitives: pixel reads, blits with clipping, the reseeded random draw.
#include <gtest/gtest.h>

#include <set>

#include "resources/draw.h"
#include "tests/support/harness.h"

using DrawTest = GameTest;

TEST_F(DrawTest, ReadPixelRefusesPointsOutsideAndNullSurfaces) {
  SDL_Surface* s = MakeSurface(7, 5, 0x1234);
  EXPECT_EQ(ReadPixel(6, 4, s), 0x1234u);
  EXPECT_EQ(ReadPixel(7, 0, s), 0xFFFFFFFFu);
  EXPECT_EQ(ReadPixel(0, 5, s), 0xFFFFFFFFu);
  EXPECT_EQ(ReadPixel(-1, 0, s), 0xFFFFFFFFu);
  EXPECT_EQ(ReadPixel(0, -1, s), 0xFFFFFFFFu);
  EXPECT_EQ(ReadPixel(0, 0, nullptr), 0xFFFFFFFFu);
  SDL_FreeSurface(s);
}

TEST_F(DrawTest, ReadPixelTakesBytesInAddressOrder) {
  SDL_Surface* s = MakeSurface(3, 2, 0);
  uint8_t* row1 = static_cast<uint8_t*>(s->pixels) + s->pitch;
  row1[2] = 0x1F;  // pixel (1, 1)
  row1[3] = 0xF8;
  EXPECT_EQ(ReadPixel(1, 1, s), 0xF81Fu);
  EXPECT_EQ(ReadPixel(0, 1, s), 0u);
  SDL_FreeSurface(s);

  SDL_Surface* wide = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  uint8_t* p = static_cast<uint8_t*>(wide->pixels);
  p[4] = 0x11; p[5] = 0x22; p[6] = 0x33; p[7] = 0x44;
  EXPECT_EQ(ReadPixel(1, 0, wide), 0x44332211u);
  SDL_FreeSurface(wide);
}

TEST_F(DrawTest, ReadPixelMatchesTheMappedColourOfTheScreenFormat) {
  const uint32_t mapped = SDL_MapRGB(ScreenSurface->format, 255, 0, 255);
  SDL_Rect r{10, 20, 1, 1};
  SDL_FillRect(ScreenSurface, &r, mapped);
  EXPECT_EQ(ReadPixel(10, 20, ScreenSurface), mapped);
}

TEST_F(DrawTest, FullScreenBlitCoversTheScreen) {
  SDL_Surface* s = MakeSurface(240, 320, 0x07E0);
  BlitImage(s, 0, 0);
  EXPECT_EQ(ScreenPixel(0, 0), 0x07E0u);
  EXPECT_EQ(ScreenPixel(239, 319), 0x07E0u);
  SDL_FreeSurface(s);
}

TEST_F(DrawTest, BlitPartlyOffTheScreenIsClippedNotRefused) {
  SDL_Surface* s = MakeSurface(20, 10, 0xF800);
  EXPECT_EQ(BlitImage(s, -15, 315), 0);
  EXPECT_EQ(ScreenPixel(0, 315), 0xF800u);
  EXPECT_EQ(ScreenPixel(4, 319), 0xF800u);
  EXPECT_EQ(ScreenPixel(5, 315), 0u);  // the part that fell off the left edge is gone
  EXPECT_EQ(BlitImage(s, 235, -5), 0);
  EXPECT_EQ(ScreenPixel(239, 4), 0xF800u);
  EXPECT_EQ(ScreenPixel(234, 4), 0u);
  EXPECT_EQ(ScreenPixel(239, 5), 0u);
  SDL_FreeSurface(s);
}

TEST_F(DrawTest, BlitImagePartCopiesOnlyTheSourceRectangle) {
  SDL_Surface* strip = MakeSurface(30, 10, 0x001F);
  FillRect(strip, 10, 0, 10, 10, 0xF800);  // frame 1 of a three-frame strip
  BlitImagePart(strip, 100, 100, 10, 10, 10, 0);
  EXPECT_EQ(ScreenPixel(100, 100), 0xF800u);
  EXPECT_EQ(ScreenPixel(109, 109), 0xF800u);
  EXPECT_EQ(ScreenPixel(110, 100), 0u);
  EXPECT_EQ(ScreenPixel(99, 100), 0u);
  SDL_FreeSurface(strip);
}

TEST_F(DrawTest, ColourKeyLeavesTheScreenUnderKeyedPixels) {
  SDL_Surface* sprite = MakeSurface(4, 4, 0);
  FillRect(sprite, 1, 1, 2, 2, 0xFFFF);
  SDL_SetColorKey(sprite, SDL_SRCCOLORKEY, 0);
  SDL_FillRect(ScreenSurface, nullptr, 0x07E0);
  BlitImage(sprite, 0, 0);
  EXPECT_EQ(ScreenPixel(0, 0), 0x07E0u);
  EXPECT_EQ(ScreenPixel(1, 1), 0xFFFFu);
  SDL_FreeSurface(sprite);
}

TEST_F(DrawTest, RandomInRangeStaysInItsHalfOpenRange) {
  std::set<int> seenSmall, seenFive, seenWide;
  for (int i = 0; i < 2000; ++i) {
    host.now = static_cast<uint32_t>(i * 7);
    seenSmall.insert(RandomInRange(1, 3, i));
    seenFive.insert(RandomInRange(0, 5, 4343));
    const int wide = RandomInRange(0, 500, 2222555);
    ASSERT_GE(wide, 0);
    ASSERT_LT(wide, 500);
    seenWide.insert(wide);
  }
  EXPECT_EQ(seenSmall, (std::set<int>{1, 2}));
  EXPECT_EQ(seenFive, (std::set<int>{0, 1, 2, 3, 4}));
  EXPECT_GT(seenWide.size(), 300u);  // spread over the range, not stuck
}

TEST_F(DrawTest, RandomDrawDependsOnClockSaltAndLastResult) {
  host.now = 1234;
  const int first = RandomInRange(0, 1000000, 7);
  const int second = RandomInRange(0, 1000000, 7);
  // A one-value range sets the last result to `first` again.
  EXPECT_EQ(RandomInRange(first, first + 1, 99), first);
  EXPECT_EQ(RandomInRange(0, 1000000, 7), second);  // same clock, salt and last: same value
  RandomInRange(first, first + 1, 99);
  EXPECT_NE(RandomInRange(0, 1000000, 8), second);  // another salt
  RandomInRange(first, first + 1, 99);
  host.now = 1235;
  EXPECT_NE(RandomInRange(0, 1000000, 7), second);  // another millisecond
}
