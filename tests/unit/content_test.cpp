// What the build ships in data/: the 41 pictures of the catalogue with their sizes, colour
// keys, keyed sprite frames and font markers, and the help text's page count in the real help
// box. (The sounds are checked beside the wave player, in platform_test.)
#include "resources/images.h"
#include "tests/support/resource_kit.h"
#include "text/textbox.h"

namespace {

constexpr int kNone = -1, kOwn = -2;  // no colour key; keyed by its own pixel (0, 5)
const struct {
  const char* file;
  int width, height, key, frame;  // key as 0xRRGGBB; frame: width of each keyed sprite frame
} kCatalogue[kImageCount] = {
    {"start_screen.bmp", 240, 320, kNone, 0},
    {"ingame.bmp", 240, 320, kNone, 0},
    {"Player1.bmp", 60, 30, 0, 30},
    {"Weapon1.bmp", 3, 8, kNone, 0},
    {"Weapon2.bmp", 3, 8, kNone, 0},
    {"Enemy11.bmp", 46, 18, 0, 23},
    {"Enemy21.bmp", 46, 18, 0, 23},
    {"Enemy31.bmp", 46, 18, 0, 23},
    {"main.bmp", 240, 320, kNone, 0},
    {"SmallEnemy.bmp", 11, 8, kNone, 0},
    {"game_over.bmp", 200, 40, 0, 200},
    {"GiftLauncher1.bmp", 200, 16, 0, 50},
    {"Gifts.bmp", 60, 12, kNone, 0},
    {"Brick.bmp", 30, 15, kNone, 0},
    {"options.bmp", 240, 320, kNone, 0},
    {"help.bmp", 240, 320, kNone, 0},
    {"about.bmp", 240, 320, kNone, 0},
    {"scores.bmp", 240, 320, kNone, 0},
    {"support.bmp", 240, 320, kNone, 0},
    {"font.bmp", 606, 11, 0x9C9C9C, 0},
    {"font_bold.bmp", 701, 11, 0x808080, 0},
    {"StarFront1.bmp", 1, 1, kNone, 0},
    {"StarFront2.bmp", 1, 1, kNone, 0},
    {"StarFront3.bmp", 1, 1, kNone, 0},
    {"StarFront4.bmp", 2, 2, kNone, 0},
    {"StarFront5.bmp", 3, 3, kNone, 0},
    {"Explosion.bmp", 115, 18, 0, 23},
    {"ExplosionPlayer.bmp", 150, 30, kNone, 0},
    {"radio.bmp", 15, 15, 0, 15},
    {"start.bmp", 200, 40, 0, 200},
    {"reserved30.bmp", 8, 8, kNone, 0},
    {"but_resume.bmp", 130, 24, kNone, 0},
    {"keyboard_small.bmp", 240, 86, kNone, 0},
    {"keyboard_large.bmp", 240, 86, kNone, 0},
    {"keyboard_small_pushed.bmp", 240, 86, kNone, 0},
    {"keyboard_large_pushed.bmp", 240, 86, kNone, 0},
    {"reserved36.bmp", 8, 8, kNone, 0},
    {"editbox.bmp", 96, 14, kNone, 0},
    {"font_white.bmp", 606, 11, kOwn, 0},
    {"brick1.bmp", 60, 30, 0, 0},
    {"small_brick.bmp", 60, 30, 0, 0},
};

using ContentTest = GameTest;

TEST_F(ContentTest, TheBuiltPacksFillTheCatalogueAndTheHelpTextFitsFourPages) {
  std::snprintf(ExeDir, sizeof ExeDir, "%s/", kGameDir.c_str());
  LoadImages();
  for (int id = 0; id < kImageCount; ++id) {
    const auto& c = kCatalogue[id];
    SDL_Surface* s = Images[id];
    ASSERT_EQ(std::pair(s->w, s->h), std::pair(c.width, c.height)) << c.file;
    EXPECT_EQ((s->flags & SDL_SRCCOLORKEY) != 0, c.key != kNone) << c.file;
    const uint32_t key = c.key == kOwn
                             ? ReadPixel(0, 5, s)
                             : SDL_MapRGB(s->format, c.key >> 16, c.key >> 8 & 255, c.key & 255);
    EXPECT_EQ(c.key == kNone ? key : s->format->colorkey, key) << c.file;
    for (int x = 0; c.frame && x < s->w; x += c.frame) {  // keyed round, something in the middle
      int ink = 0;
      for (int y = 0; y < s->h; ++y)
        for (int i = 0; i < c.frame; ++i) ink += ReadPixel(x + i, y, s) != key;
      EXPECT_GT(ink, c.frame * s->h / 10) << c.file << " frame at " << x;
      for (int corner : {x, x + c.frame - 1})
        EXPECT_EQ(std::pair(ReadPixel(corner, 0, s), ReadPixel(corner, s->h - 1, s)),
                  std::pair(key, key))
            << c.file << corner;
    }
    GlyphTable glyphs{};
    BuildGlyphTable(s, glyphs);  // a marker before each glyph of 33 to 127 and after the last
    EXPECT_TRUE(glyphs.count == 96 || !std::string(c.file).starts_with("font")) << c.file;
  }

  // The help text, laid out as the help screen shows it (its pictures opened beside the
  // game), takes more than one page and no more than the four the screen turns. (The four
  // pages as drawn are pinned by the gallery's end-to-end test.)
  const Bytes bytes = ReadFileBytes(kGameDir + "/data/story");
  const std::string story(bytes.begin(), bytes.end());
  ASSERT_TRUE(EnterFolder(kGameDir.c_str()));
  TextBox box;
  PrepareHelpBox(box);
  box.SetText(story.c_str());
  EXPECT_TRUE(box.lastPage >= 1 && box.lastPage <= 3) << box.lastPage;
}

}  // namespace
