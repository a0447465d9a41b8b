// The image catalogue: the main pack fills all 41 images in order, and exactly the images
// drawn over others get their transparent colours.
#include "resources/images.h"

#include <sys/stat.h>

#include <set>
#include <string>

#include "platform/paths.h"
#include "resources/draw.h"
#include "resources/pack.h"
#include "tests/support/harness.h"

namespace {

// Every image gets its own size, so an image in the wrong slot shows.
int WidthOf(int id) { return 6 + id; }
int HeightOf(int id) { return 6 + id % 7; }

constexpr uint8_t kFontKey[3] = {200, 40, 120};

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

class ImagesTest : public GameTest {
 protected:
  // Writes the source bitmaps of the first `count` catalogue names into the data folder and
  // builds data/1.pak from them with the pack builder.
  void BuildMainPack(int count) {
    for (int id = 0; id < count; ++id) {
      SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, WidthOf(id), HeightOf(id), 24, 0xFF0000,
                                            0xFF00, 0xFF, 0);
      ASSERT_NE(s, nullptr);
      SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 30, 60 + id, 90));
      // Black at (0, 0) and the two grey font keys at (1, 0) and (2, 0).
      SetPixel(s, 0, 0, 0, 0, 0);
      SetPixel(s, 1, 0, 156, 156, 156);
      SetPixel(s, 2, 0, 128, 128, 128);
      // The white font's own key sits at column 0, row 5; row 0, column 5 differs.
      SetPixel(s, 0, 5, kFontKey[0], kFontKey[1], kFontKey[2]);
      SetPixel(s, 5, 0, 10, 250, 10);
      const std::string path = folder + "data/" + kImageSourceNames[id];
      ASSERT_EQ(SDL_SaveBMP(s, path.c_str()), 0) << SDL_GetError();
      SDL_FreeSurface(s);
    }
    PackFile builder(PackMode::Write);
    const std::string output = std::string(ExeDir) + "data\\1";
    ASSERT_EQ(builder.Build(output.c_str(), NameList{count, kImageSourceNames}), 0);
  }

  static void SetPixel(SDL_Surface* s, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    SDL_Rect pixel{static_cast<int16_t>(x), static_cast<int16_t>(y), 1, 1};
    SDL_FillRect(s, &pixel, SDL_MapRGB(s->format, r, g, b));
  }

  uint32_t Mapped(SDL_Surface* s, const uint8_t rgb[3]) {
    return SDL_MapRGB(s->format, rgb[0], rgb[1], rgb[2]);
  }
};

TEST_F(ImagesTest, CatalogueNamesAreDistinctBitmapsInImageOrder) {
  std::set<std::string> seen;
  for (int id = 0; id < kImageCount; ++id) {
    const std::string name = kImageSourceNames[id];
    EXPECT_TRUE(seen.insert(name).second) << name;
    // Names ending in 'g' would be taken for pictures with alpha.
    EXPECT_EQ(name.substr(name.size() - 4), ".bmp") << name;
  }
  EXPECT_STREQ(kImageSourceNames[kFontWhite], "font_white.bmp");
  EXPECT_STREQ(kImageSourceNames[kBrickWorn], "small_brick.bmp");
  EXPECT_STREQ(kImageSourceNames[kReserved30], "reserved30.bmp");
  EXPECT_STREQ(kImageSourceNames[kReserved36], "reserved36.bmp");
}

TEST_F(ImagesTest, MainPackFillsEveryImageInOrderWithItsColourKey) {
  BuildMainPack(kImageCount);
  // The builder leaves data/1.pak and removes its uncompressed table.
  EXPECT_TRUE(Exists(folder + "data/1.pak"));
  EXPECT_FALSE(Exists(folder + "data/1"));

  LoadImages();
  const std::set<int> keyedBlack = {kExplosion,   kBrick,        kBrickWorn, kGameOver,
                                    kEnemy1,      kEnemy2,       kEnemy3,    kPlayer,
                                    kLevelBanner, kGiftLauncher, kRadio};
  const uint8_t grey156[3] = {156, 156, 156}, grey128[3] = {128, 128, 128}, black[3] = {0, 0, 0};
  for (int id = 0; id < kImageCount; ++id) {
    SCOPED_TRACE(kImageSourceNames[id]);
    SDL_Surface* s = Images[id];
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, WidthOf(id));
    EXPECT_EQ(s->h, HeightOf(id));
    const bool keyed =
        keyedBlack.count(id) || id == kFontGrey || id == kFontBold || id == kFontWhite;
    EXPECT_EQ((s->flags & SDL_SRCCOLORKEY) != 0, keyed);
    if (keyedBlack.count(id)) {
      EXPECT_EQ(s->format->colorkey, Mapped(s, black));
    }
  }
  EXPECT_EQ(Images[kFontGrey]->format->colorkey, Mapped(Images[kFontGrey], grey156));
  EXPECT_EQ(Images[kFontBold]->format->colorkey, Mapped(Images[kFontBold], grey128));
  // The white font is keyed by its own pixel at column 0, row 5, taken raw.
  EXPECT_EQ(Images[kFontWhite]->format->colorkey, ReadPixel(0, 5, Images[kFontWhite]));
  EXPECT_EQ(Images[kFontWhite]->format->colorkey, Mapped(Images[kFontWhite], kFontKey));
}

TEST_F(ImagesTest, KeyedColoursLetTheScreenShowThrough) {
  BuildMainPack(kImageCount);
  LoadImages();
  const uint32_t background = SDL_MapRGB(ScreenSurface->format, 255, 255, 0);
  struct Case {
    ImageId id;
    int keyX;    // a pixel of the key colour
    bool keyed;  // whether it lets the background through
  };
  const Case cases[] = {{kEnemy1, 0, true},   {kPlayer, 0, true},         {kExplosion, 0, true},
                        {kBrick, 0, true},    {kFontGrey, 1, true},       {kFontBold, 2, true},
                        {kInGame, 0, false},  {kShipExplosion, 0, false}, {kFontGrey, 0, false},
                        {kFontBold, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(kImageSourceNames[c.id]) + " at column " + std::to_string(c.keyX));
    SDL_FillRect(ScreenSurface, nullptr, background);
    BlitImage(Images[c.id], 0, 0);
    EXPECT_EQ(ScreenPixel(c.keyX, 0) == background, c.keyed);
    // The body colour is always drawn.
    EXPECT_NE(ScreenPixel(3, 2), background);
  }
}

TEST_F(ImagesTest, AMainPackShortOfImagesStopsTheGame) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  BuildMainPack(kImageCount - 1);
  EXPECT_EXIT(LoadImages(), testing::ExitedWithCode(1),
              "Error: The image pack .*data/1\\.pak holds 40 images; the game needs 41\\.");
}

TEST_F(ImagesTest, AMissingMainPackStopsTheGame) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LoadImages(), testing::ExitedWithCode(1),
              "Error: The image pack .*data/1\\.pak cannot be opened: No such file or directory");
}

}  // namespace
