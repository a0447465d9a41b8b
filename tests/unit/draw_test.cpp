// Drawing primitives: raw pixel reads, partial blits from painted strips, the random draw.
#include <set>

#include "tests/support/resource_kit.h"

using DrawTest = GameTest;

TEST_F(DrawTest, ReadPixelTakesTheBytesInAddressOrderInsideTheSurfaceOnly) {
  SDL_Surface* s = MakeSurface(7, 5, 0x1234);
  owned.push_back(s);
  static_cast<uint8_t*>(s->pixels)[s->pitch * 4 + 12] = 0x1F;  // pixel (6, 4)
  static_cast<uint8_t*>(s->pixels)[s->pitch * 4 + 13] = 0xF8;
  EXPECT_EQ(ReadPixel(6, 4, s), 0xF81Fu);
  EXPECT_EQ(ReadPixel(5, 4, s), 0x1234u);
  for (auto [x, y] : {std::pair{7, 0}, {0, 5}, {-1, 0}, {0, -1}}) EXPECT_EQ(ReadPixel(x, y, s), 0xFFFFFFFFu);
  EXPECT_EQ(ReadPixel(0, 0, nullptr), 0xFFFFFFFFu);
  SDL_Surface* wide = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  owned.push_back(wide);
  static_cast<uint32_t*>(wide->pixels)[1] = 0x44332211;
  EXPECT_EQ(ReadPixel(1, 0, wide), 0x44332211u);
}

TEST_F(DrawTest, BlitImagePartCopiesExactlyItsSourceRectangle) {
  SDL_Surface* strip = Painted(40, 12);
  owned.push_back(strip);
  EXPECT_EQ(BlitImagePart(strip, -3, 300, 9, 7, 23, 4), 0);  // clipped at the left edge
  BlitImage(strip, 200, 310);
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x) {
      uint32_t want = 0;
      if (x < 6 && y >= 300 && y < 307) want = ReadPixel(x + 3 + 23, y - 300 + 4, strip);
      if (x >= 200 && y >= 310) want = ReadPixel(x - 200, y - 310, strip);
      ASSERT_EQ(ScreenPixel(x, y), want) << x << "," << y;
    }
}

TEST_F(DrawTest, RandomDrawStaysInRangeAndFollowsClockSaltAndLastResult) {
  std::set<int> small, wide;
  for (int i = 0; i < 2000; ++i) {
    host.now = static_cast<uint32_t>(i * 7);
    small.insert(RandomInRange(1, 3, i));
    wide.insert(RandomInRange(0, 500, 2222555));
  }
  EXPECT_EQ(small, (std::set<int>{1, 2}));
  EXPECT_EQ(*wide.begin(), 0);
  EXPECT_EQ(*wide.rbegin(), 499);
  host.now = 1234;
  const int first = RandomInRange(0, 1000000, 7), second = RandomInRange(0, 1000000, 7);
  EXPECT_EQ(RandomInRange(first, first + 1, 99), first);  // the last result is `first` again
  EXPECT_EQ(RandomInRange(0, 1000000, 7), second);
  RandomInRange(first, first + 1, 99);
  EXPECT_NE(RandomInRange(0, 1000000, 8), second);
  RandomInRange(first, first + 1, 99);
  host.now = 1235;
  EXPECT_NE(RandomInRange(0, 1000000, 7), second);
}
