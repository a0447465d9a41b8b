// The resource catalogue, read from the pack the build made: every image in its place, with
// its size, its transparent colour and, for sprite strips, frames that are keyed round.
#include "resources/images.h"

#include "resources/pack.h"
#include "tests/support/resource_kit.h"
#include "text/font.h"

namespace {

constexpr int kNone = -1, kOwn = -2;  // no colour key; keyed by its own pixel (0, 5)
const struct {
  const char* file;
  int width, height, key, frame;  // key as 0xRRGGBB; frame: width of each keyed frame
} kCatalogue[kImageCount] = {
    {"start_screen.bmp", 240, 320, kNone, 0}, {"ingame.bmp", 240, 320, kNone, 0}, {"Player1.bmp", 60, 30, 0, 30},
    {"Weapon1.bmp", 3, 8, kNone, 0},          {"Weapon2.bmp", 3, 8, kNone, 0},    {"Enemy11.bmp", 46, 18, 0, 23},
    {"Enemy21.bmp", 46, 18, 0, 23},           {"Enemy31.bmp", 46, 18, 0, 23},     {"main.bmp", 240, 320, kNone, 0},
    {"SmallEnemy.bmp", 11, 8, kNone, 0},      {"game_over.bmp", 200, 40, 0, 200}, {"GiftLauncher1.bmp", 200, 16, 0, 50},
    {"Gifts.bmp", 60, 12, kNone, 0},          {"Brick.bmp", 30, 15, kNone, 0},    {"options.bmp", 240, 320, kNone, 0},
    {"help.bmp", 240, 320, kNone, 0},         {"about.bmp", 240, 320, kNone, 0},  {"scores.bmp", 240, 320, kNone, 0},
    {"support.bmp", 240, 320, kNone, 0},      {"font.bmp", 606, 11, 0x9C9C9C, 0}, {"font_bold.bmp", 701, 11, 0x808080, 0},
    {"StarFront1.bmp", 1, 1, kNone, 0},       {"StarFront2.bmp", 1, 1, kNone, 0}, {"StarFront3.bmp", 1, 1, kNone, 0},
    {"StarFront4.bmp", 2, 2, kNone, 0},       {"StarFront5.bmp", 3, 3, kNone, 0}, {"Explosion.bmp", 115, 18, 0, 23},
    {"ExplosionPlayer.bmp", 150, 30, kNone, 0}, {"radio.bmp", 15, 15, 0, 15},     {"start.bmp", 200, 40, 0, 200},
    {"reserved30.bmp", 8, 8, kNone, 0},       {"but_resume.bmp", 130, 24, kNone, 0},
    {"keyboard_small.bmp", 240, 86, kNone, 0}, {"keyboard_large.bmp", 240, 86, kNone, 0},
    {"keyboard_small_pushed.bmp", 240, 86, kNone, 0}, {"keyboard_large_pushed.bmp", 240, 86, kNone, 0},
    {"reserved36.bmp", 8, 8, kNone, 0},       {"editbox.bmp", 96, 14, kNone, 0},  {"font_white.bmp", 606, 11, kOwn, 0},
    {"brick1.bmp", 60, 30, 0, 0},             {"small_brick.bmp", 60, 30, 0, 0},
};

using ImagesTest = GameTest;

TEST_F(ImagesTest, TheBuiltMainPackFillsTheCatalogueWithItsColourKeys) {
  std::snprintf(ExeDir, sizeof ExeDir, "%s/", kGameDir.c_str());
  LoadImages();
  for (int id = 0; id < kImageCount; ++id) {
    const auto& c = kCatalogue[id];
    SDL_Surface* s = Images[id];
    EXPECT_STREQ(kImageSourceNames[id], c.file);
    ASSERT_EQ(std::to_string(s->w) + "x" + std::to_string(s->h), std::to_string(c.width) + "x" + std::to_string(c.height))
        << c.file;
    EXPECT_EQ((s->flags & SDL_SRCCOLORKEY) != 0, c.key != kNone) << c.file;
    const uint32_t key = c.key == kOwn ? ReadPixel(0, 5, s) : SDL_MapRGB(s->format, c.key >> 16, c.key >> 8 & 255, c.key & 255);
    if (c.key != kNone) {
      EXPECT_EQ(s->format->colorkey, key) << c.file;
    }
    for (int x = 0; c.frame && x < s->w; x += c.frame) {
      int ink = 0;
      for (int y = 0; y < s->h; ++y)
        for (int i = 0; i < c.frame; ++i) ink += ReadPixel(x + i, y, s) != key;
      EXPECT_GT(ink, c.frame * s->h / 10) << c.file << " frame at " << x << " shows too little";
      for (int corner : {x, x + c.frame - 1}) {
        EXPECT_EQ(ReadPixel(corner, 0, s), key) << c.file << " at " << corner;
        EXPECT_EQ(ReadPixel(corner, s->h - 1, s), key) << c.file << " at " << corner;
      }
    }
    if (std::string(c.file).starts_with("font")) {
      GlyphTable table{};
      BuildGlyphTable(s, table);
      EXPECT_EQ(table.count, 96) << c.file << ": a marker before each glyph of 33 to 127 and after the last";
    }
  }
}

TEST_F(ImagesTest, AMainPackShortOfImagesStopsTheGame) {
  Bytes table;
  Put(table, kImageCount - 1);
  for (int i = 0; i < kImageCount - 1; ++i) {  // 1 x 1 pixel at 16 bits
    for (uint32_t v : {0, 1, 1}) Put(table, v);
    Put(table, 2, 2);
    Put(table, 16, 1);
    for (uint32_t mask : {0xF800, 0x7E0, 0x1F, 0, 0xFFFF}) Put(table, mask);
    table.resize(table.size() - 2);  // the pixel is two bytes
  }
  WriteFileBytes(folder + "data/1.pak", Gzip(table));
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LoadImages(), testing::ExitedWithCode(1), "The image pack .*data/1\\.pak holds 40 images; the game needs 41\\.");
}

}  // namespace
