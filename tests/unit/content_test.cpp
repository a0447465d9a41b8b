// What the build ships in data/: every picture of the catalogue as the game cuts and keys it
// (frames of the sizes the game draws, colour keys, keyed sprite frames, font markers), and
// the help text's page count in the real help box. (The sounds are checked beside the wave
// player, in platform_test; the pictures as drawn by the gallery's end-to-end test.)
#include "frontend/high_scores.h"
#include "frontend/keyboard.h"
#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/game_state.h"
#include "game/launcher.h"
#include "game/ship.h"
#include "resources/images.h"
#include "settings/settings.h"
#include "tests/support/harness.h"
#include "text/textbox.h"

namespace {

constexpr uint32_t kUnkeyed = 1u << 31, kOwnPixel = 1u << 30;  // else a key as 0xRRGGBB

// What the game needs of a picture: at least `frames` frames of w x h in a row (0: the whole
// picture), and its colour key.
struct Need {
  ImageId id;
  int w, h, frames;
  uint32_t key;
};

using ContentTest = GameTest;

TEST_F(ContentTest, EveryPictureIsCutAndKeyedAsTheGameDrawsItAndTheHelpTextFitsFourPages) {
  std::snprintf(ExeDir, sizeof ExeDir, "%s/", kGameDir.c_str());
  LoadImages();
  Settings = SettingsRecord{};
  StartNewGame();  // the ship's size
  const int ship = PlayerShip.width;
  std::vector<Need> needs = {{kPlayer, ship, ship, 2, 0},
                             {kExplosion, kEnemyWidth, kEnemyHeight, 5, 0},
                             {kShipExplosion, ship, ship, 5, kUnkeyed},
                             {kGiftLauncher, kLauncherFrameWidth, 0, 4, 0},
                             {kGifts, kGiftSize, kGiftSize, ChainKill + 1, kUnkeyed},
                             {kFontGrey, 0, 0, 1, 0x9C9C9C},
                             {kFontBold, 0, 0, 1, 0x808080},
                             {kFontWhite, 0, 0, 1, kOwnPixel}};
  for (ImageId id : {kEnemy1, kEnemy2, kEnemy3})
    needs.push_back({id, kEnemyWidth, kEnemyHeight, 2, 0});
  for (ImageId id : {kBrick, kBrickWorn})
    needs.push_back({id, kBrickCellSize * 4, kBrickCellSize * 2, 1, 0});
  for (ImageId id : {kRadio, kGameOver, kLevelBanner}) needs.push_back({id, 0, 0, 1, 0});
  for (ImageId id : {kStartScreen, kInGame, kMainMenu, kOptions, kHelp, kAbout, kScores, kSupport})
    needs.push_back({id, kScreenWidth, kScreenHeight, 1, kUnkeyed});
  for (ImageId id : {kKeyboardSmall, kKeyboardLarge, kKeyboardSmallPushed, kKeyboardLargePushed})
    needs.push_back({id, kScreenWidth, kScreenHeight - kKeyboardOrigin.y, 1, kUnkeyed});
  for (int id = 0; id < kImageCount; ++id) {
    SDL_Surface* s = Images[id];
    SCOPED_TRACE(kImageSourceNames[id]);
    Need need{ImageId(id), 0, 0, 0, kUnkeyed};  // drawn whole, opaque
    for (const Need& n : needs)
      if (n.id == id) need = n;
    ASSERT_EQ((s->flags & SDL_SRCCOLORKEY) != 0, need.key != kUnkeyed);
    const uint32_t c = need.key, key = c == kUnkeyed ? 0
                                       : c == kOwnPixel
                                           ? ReadPixel(0, 5, s)
                                           : SDL_MapRGB(s->format, c >> 16, c >> 8 & 255, c & 255);
    // The key, the height, whole frames of w and at least as many as the game draws.
    const int w = need.w ? need.w : s->w, h = need.h ? need.h : s->h;
    EXPECT_EQ(std::tuple(c == kUnkeyed ? key : s->format->colorkey, s->h, s->w % w,
                         s->w / w >= need.frames),
              std::tuple(key, h, 0, true))
        << "frames " << w << " wide";
    const bool sprite = c == 0 && id != kBrick && id != kBrickWorn;  // bricks: full cells
    for (int x = 0; sprite && x + w <= s->w; x += w) {  // keyed round, something in the middle
      int ink = 0;
      for (int y = 0; y < h; ++y)
        for (int i = 0; i < w; ++i) ink += ReadPixel(x + i, y, s) != key;
      EXPECT_GT(ink, w * h / 10) << "frame at " << x;
      for (int corner : {x, x + w - 1})
        for (int y : {0, h - 1}) EXPECT_EQ(ReadPixel(corner, y, s), key) << corner << "," << y;
    }
    GlyphTable glyphs{};
    BuildGlyphTable(s, glyphs);  // a marker before each glyph of 33 to 127 and after the last
    if (id == kFontGrey || id == kFontBold || id == kFontWhite) {
      EXPECT_EQ(glyphs.count, 96);
    }
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
  EXPECT_GE(box.lastPage, 1);
  EXPECT_LE(box.lastPage, 3);
}

}  // namespace
