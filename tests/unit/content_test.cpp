// The game's built pictures and packs against what the game relies on: sizes and strips,
// colour keys, the font's markers, the keyboard's key areas, the painted buttons and text
// places of every screen, the packs' buffers, one palette, and byte-for-byte repeatable
// generation.
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/name_entry.h"
#include "platform/paths.h"
#include "resources/images.h"
#include "resources/pack.h"
#include "tests/support/harness.h"
#include "text/font.h"

namespace {

const std::string kSourceDir = std::string(ZORBLATS_BINARY_DIR) + "/content-src/";
const std::string kDataDir = std::string(ZORBLATS_GAME_DIR) + "/data/";

struct FreeSurface {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Picture = std::unique_ptr<SDL_Surface, FreeSurface>;

Picture LoadBmp(const std::string& path) { return Picture(SDL_LoadBMP(path.c_str())); }

uint16_t At(const Picture& p, int x, int y) {
  const auto* row = static_cast<const uint8_t*>(p->pixels) + y * p->pitch;
  return reinterpret_cast<const uint16_t*>(row)[x];
}

uint16_t Grey(int v) { return Rgb565(uint8_t(v), uint8_t(v), uint8_t(v)); }

// The palette's colours by name, read from the same source file the pictures come from.
std::map<std::string, uint16_t> Palette() {
  std::map<std::string, uint16_t> colours;
  std::ifstream in(std::string(ZORBLATS_SOURCE_DIR) + "/content/palette.txt");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == ';') continue;
    std::istringstream words(line);
    std::string name, code;
    int r, g, b;
    if (words >> name >> code >> r >> g >> b) colours[name] = Rgb565(uint8_t(r), uint8_t(g), uint8_t(b));
  }
  return colours;
}

int Count(const Picture& p, int x, int y, int w, int h, uint16_t colour) {
  int n = 0;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) n += At(p, i, j) == colour;
  return n;
}

// The colour that most pixels of a rectangle have.
uint16_t Commonest(const Picture& p, int x, int y, int w, int h) {
  std::map<uint16_t, int> counts;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) ++counts[At(p, i, j)];
  return std::max_element(counts.begin(), counts.end(),
                          [](auto& a, auto& b) { return a.second < b.second; })->first;
}

bool Uniform(const Picture& p, int x, int y, int w, int h) {
  return Count(p, x, y, w, h, At(p, x, y)) == w * h;
}

// Perceived brightness of a 5-6-5 colour, 0..255.
int Luma(uint16_t c) {
  const int r = (c >> 11) << 3, g = ((c >> 5) & 63) << 2, b = (c & 31) << 3;
  return (r * 3 + g * 6 + b) / 10;
}

// The ink pattern of a rectangle as text rows ('#' where the colour is `ink`), cropped to
// the ink's bounding box. Empty when there is no ink.
std::vector<std::string> InkShape(const Picture& p, int x, int y, int w, int h, uint16_t ink) {
  int x0 = x + w, y0 = y + h, x1 = -1, y1 = -1;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (At(p, i, j) == ink) {
        x0 = std::min(x0, i), y0 = std::min(y0, j), x1 = std::max(x1, i), y1 = std::max(y1, j);
      }
  std::vector<std::string> rows;
  for (int j = y0; j <= y1; ++j) {
    std::string row;
    for (int i = x0; i <= x1; ++i) row += At(p, i, j) == ink ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

class ContentTest : public GameTest {
 protected:
  Picture Source(const std::string& name) {
    Picture p = LoadBmp(kSourceDir + name);
    EXPECT_TRUE(p) << name << ": " << SDL_GetError();
    return p;
  }
  std::map<std::string, uint16_t> palette = Palette();
};

// ---- The files: every picture is a 16-bit 5-6-5 BMP that SDL reads ----------------------

TEST_F(ContentTest, EveryPictureIsASixteenBitBmpThatSdlLoads) {
  std::vector<std::string> names(kImageSourceNames, kImageSourceNames + kImageCount);
  for (const char* help :
       {"help_ship.bmp", "help_enemies.bmp", "help_gifts.bmp", "help_bricks.bmp"}) {
    Picture p = LoadBmp(kDataDir + help);
    ASSERT_TRUE(p) << help << ": " << SDL_GetError();
    EXPECT_LE(p->w, 180) << help;
    EXPECT_GE(p->h, 40) << help;
    EXPECT_LE(p->h, 60) << help;
  }
  for (const std::string& name : names) {
    Picture p = Source(name);
    ASSERT_TRUE(p) << name;
    EXPECT_EQ(p->format->BitsPerPixel, 16) << name;
    EXPECT_EQ(p->format->Rmask, 0xF800u) << name;
    EXPECT_EQ(p->format->Gmask, 0x07E0u) << name;
    EXPECT_EQ(p->format->Bmask, 0x001Fu) << name;
  }
}

TEST_F(ContentTest, PicturesUseOnlyTheGamesPalette) {
  ASSERT_GE(palette.size(), 16u);
  ASSERT_LE(palette.size(), 32u);
  std::set<uint16_t> allowed;
  for (auto& [name, c] : palette) allowed.insert(c);
  for (int i = 0; i < kImageCount; ++i) {
    const std::string name = kImageSourceNames[i];
    if (name.rfind("font", 0) == 0) continue;  // fonts carry their own marker and key colours
    Picture p = Source(name);
    ASSERT_TRUE(p);
    for (int y = 0; y < p->h; ++y)
      for (int x = 0; x < p->w; ++x)
        ASSERT_TRUE(allowed.count(At(p, x, y)))
            << name << " has a colour outside the palette at " << x << "," << y;
  }
}

// ---- Sprites: strips, frames, keys -------------------------------------------------------

// Every frame of a keyed strip has black corners and something drawn.
void ExpectKeyedFrames(const Picture& p, int frameW, int frames, const std::string& name) {
  for (int f = 0; f < frames; ++f) {
    const int x0 = f * frameW, x1 = x0 + frameW - 1, y1 = p->h - 1;
    EXPECT_EQ(At(p, x0, 0), 0) << name << " frame " << f;
    EXPECT_EQ(At(p, x1, 0), 0) << name << " frame " << f;
    EXPECT_EQ(At(p, x0, y1), 0) << name << " frame " << f;
    EXPECT_EQ(At(p, x1, y1), 0) << name << " frame " << f;
    EXPECT_GT(frameW * p->h - Count(p, x0, 0, frameW, p->h, 0), frameW * p->h / 10)
        << name << " frame " << f << " shows too little";
  }
}

bool FramesDiffer(const Picture& p, int x0, int x1, int w) {
  for (int y = 0; y < p->h; ++y)
    for (int x = 0; x < w; ++x)
      if (At(p, x0 + x, y) != At(p, x1 + x, y)) return true;
  return false;
}

TEST_F(ContentTest, ShipAndEnemyStripsHaveMovingFrames) {
  Picture ship = Source("Player1.bmp");
  ASSERT_TRUE(ship);
  EXPECT_EQ(ship->h, 30);
  EXPECT_EQ(ship->w % 30, 0);
  EXPECT_GE(ship->w, 60);
  ExpectKeyedFrames(ship, 30, 2, "Player1.bmp");
  EXPECT_TRUE(FramesDiffer(ship, 0, 30, 30)) << "the ship's two frames are the same";

  std::vector<Picture> enemies;
  std::vector<uint16_t> colours;
  for (const char* name : {"Enemy11.bmp", "Enemy21.bmp", "Enemy31.bmp"}) {
    Picture e = Source(name);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->h, 18) << name;
    EXPECT_EQ(e->w, 46) << name;
    ExpectKeyedFrames(e, 23, 2, name);
    // The formation stands them 23 apart: two clear columns at each side of every frame
    // keep neighbours in a row from running together.
    for (int f = 0; f < 2; ++f)
      for (int x : {0, 1, 21, 22}) {
        EXPECT_EQ(Count(e, 23 * f + x, 0, 1, 18, 0), 18) << name << " frame " << f << " column " << x;
      }
    EXPECT_TRUE(FramesDiffer(e, 0, 23, 23)) << name << ": the two frames do not move";
    // The body colour: the commonest colour that is not the key.
    std::map<uint16_t, int> counts;
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 23; ++x)
        if (At(e, x, y) != 0) ++counts[At(e, x, y)];
    colours.push_back(std::max_element(counts.begin(), counts.end(),
                                       [](auto& a, auto& b) { return a.second < b.second; })->first);
    enemies.push_back(std::move(e));
  }
  for (int a = 0; a < 3; ++a) {
    for (int b = a + 1; b < 3; ++b) {
      EXPECT_NE(colours[a], colours[b]) << "enemy strengths " << a + 1 << " and " << b + 1
                                        << " share their colour";
      // Shapes: the sets of drawn pixels of frame 0 differ in a good many places.
      int different = 0;
      for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 23; ++x)
          different += (At(enemies[a], x, y) == 0) != (At(enemies[b], x, y) == 0);
      EXPECT_GT(different, 40) << "enemy strengths " << a + 1 << " and " << b + 1
                               << " have nearly the same shape";
    }
  }
}

TEST_F(ContentTest, ExplosionsHaveFiveFramesAndTheShipsIsOpaqueOnThePlayField) {
  Picture blast = Source("Explosion.bmp");
  ASSERT_TRUE(blast);
  EXPECT_EQ(blast->w, 115);
  EXPECT_EQ(blast->h, 18);
  ExpectKeyedFrames(blast, 23, 5, "Explosion.bmp");

  Picture field = Source("ingame.bmp");
  Picture shipBlast = Source("ExplosionPlayer.bmp");
  ASSERT_TRUE(field && shipBlast);
  EXPECT_EQ(shipBlast->w, 150);
  EXPECT_EQ(shipBlast->h, 30);
  const uint16_t space = Commonest(field, 0, 0, 240, 264);
  for (int f = 0; f < 5; ++f) {
    for (int i = 0; i < 30; ++i) {
      EXPECT_EQ(At(shipBlast, f * 30 + i, 0), space) << "frame " << f;
      EXPECT_EQ(At(shipBlast, f * 30 + i, 29), space) << "frame " << f;
      EXPECT_EQ(At(shipBlast, f * 30, i), space) << "frame " << f;
      EXPECT_EQ(At(shipBlast, f * 30 + 29, i), space) << "frame " << f;
    }
    EXPECT_EQ(Count(shipBlast, f * 30, 0, 30, 30, 0), 0) << "black shows in an opaque frame";
    EXPECT_LT(Count(shipBlast, f * 30, 0, 30, 30, space), 30 * 30 - 20) << "frame " << f << " is empty";
  }
  for (int f = 1; f < 5; ++f) EXPECT_TRUE(FramesDiffer(shipBlast, (f - 1) * 30, f * 30, 30));
}

TEST_F(ContentTest, LauncherShowsTwoBlinkingFramesAtFiftyPixelSteps) {
  Picture launcher = Source("GiftLauncher1.bmp");
  ASSERT_TRUE(launcher);
  EXPECT_GE(launcher->w, 200);
  EXPECT_LE(launcher->h, 30);
  ExpectKeyedFrames(launcher, 50, launcher->w / 50, "GiftLauncher1.bmp");
  EXPECT_TRUE(FramesDiffer(launcher, 100, 150, 50)) << "frames 2 and 3 do not animate";
}

TEST_F(ContentTest, OpaqueSmallPicturesHaveNoBlackAndSitOnThePlayField) {
  Picture field = Source("ingame.bmp");
  ASSERT_TRUE(field);
  const uint16_t space = Commonest(field, 0, 0, 240, 264);
  EXPECT_LT(Luma(space), 40) << "the play field is not deep space";

  Picture gifts = Source("Gifts.bmp");
  ASSERT_TRUE(gifts);
  EXPECT_EQ(gifts->w, 60);
  EXPECT_EQ(gifts->h, 12);
  EXPECT_EQ(Count(gifts, 0, 0, 60, 12, 0), 0);
  // Rounded: each icon's corners are the field's own colour, so no square shows round it.
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(At(gifts, 12 * k, 0), space) << "gift " << k;
    EXPECT_EQ(At(gifts, 12 * k + 11, 11), space) << "gift " << k;
  }
  // The kinds that can fall (0, 2, 3, 4) look different from each other, each with its own
  // rim colour.
  std::set<uint16_t> rims;
  for (int k : {0, 2, 3, 4}) rims.insert(At(gifts, 12 * k + 6, 0));
  EXPECT_EQ(rims.size(), 4u);
  for (int k : {0, 2, 3, 4})
    for (int j : {0, 2, 3, 4})
      if (k < j) {
        EXPECT_TRUE(FramesDiffer(gifts, 12 * k, 12 * j, 12)) << "gifts " << k << " and " << j;
      }

  std::set<std::vector<uint16_t>> looks;
  for (int i = 1; i <= 5; ++i) {
    const std::string name = "StarFront" + std::to_string(i) + ".bmp";
    Picture star = Source(name);
    ASSERT_TRUE(star);
    EXPECT_LE(star->w, 3) << name;
    EXPECT_LE(star->h, 3) << name;
    std::vector<uint16_t> look = {uint16_t(star->w), uint16_t(star->h)};
    for (int y = 0; y < star->h; ++y)
      for (int x = 0; x < star->w; ++x) {
        // Star light, or the field's colour round a bigger star: never a dark square.
        EXPECT_TRUE(At(star, x, y) == space || Luma(At(star, x, y)) >= 80) << name;
        look.push_back(At(star, x, y));
      }
    looks.insert(look);
  }
  EXPECT_EQ(looks.size(), 5u) << "two stars look the same";

  Picture shot = Source("Weapon1.bmp"), enemyShot = Source("Weapon2.bmp");
  ASSERT_TRUE(shot && enemyShot);
  for (const Picture* p : {&shot, &enemyShot}) {
    EXPECT_LE((*p)->w, 6);
    EXPECT_LE((*p)->h, 12);
    EXPECT_EQ(Count(*p, 0, 0, (*p)->w, (*p)->h, 0), 0) << "black around an opaque shot";
  }
  EXPECT_NE(Commonest(shot, 0, 0, shot->w, shot->h), Commonest(enemyShot, 0, 0, enemyShot->w, enemyShot->h));
}

TEST_F(ContentTest, BricksAreFourByTwoCellsAndWornCellsLookDamaged) {
  Picture whole = Source("brick1.bmp"), worn = Source("small_brick.bmp"), spacing = Source("Brick.bmp");
  ASSERT_TRUE(whole && worn && spacing);
  EXPECT_EQ(spacing->w, 30) << "the bricks must stand at x 9, 89 and 169";
  for (const Picture* p : {&whole, &worn}) {
    EXPECT_EQ((*p)->w, 60);
    EXPECT_EQ((*p)->h, 30);
  }
  for (int cell = 0; cell < 8; ++cell) {
    const int x = 15 * (cell % 4), y = 15 * (cell / 4);
    int changed = 0;
    for (int j = 0; j < 15; ++j)
      for (int i = 0; i < 15; ++i) changed += At(whole, x + i, y + j) != At(worn, x + i, y + j);
    EXPECT_GT(changed, 12) << "worn cell " << cell << " hardly differs from the whole one";
    EXPECT_GT(Count(worn, x, y, 15, 15, 0), Count(whole, x, y, 15, 15, 0))
        << "worn cell " << cell << " has no chips";
    EXPECT_LT(Count(whole, x, y, 15, 15, 0), 30) << "whole cell " << cell << " is mostly hole";
  }
}

TEST_F(ContentTest, SmallFrontEndPicturesFitWhereTheyAreDrawn) {
  Picture radio = Source("radio.bmp");
  ASSERT_TRUE(radio);
  ExpectKeyedFrames(radio, radio->w, 1, "radio.bmp");
  EXPECT_LE(radio->h, 26) << "the difficulty rows are 27 apart";

  Picture resume = Source("but_resume.bmp");
  ASSERT_TRUE(resume);
  EXPECT_LT(resume->h, 36) << "Resume must end above New game";
  EXPECT_LE(55 + resume->w, 240);
  EXPECT_GT(Count(resume, 0, 0, resume->w, resume->h, palette.at("white")), 10) << "no label";

  for (const char* name : {"start.bmp", "game_over.bmp"}) {
    Picture banner = Source(name);
    ASSERT_TRUE(banner);
    EXPECT_LE(banner->w, 240) << name;
    EXPECT_LE(banner->h, 120) << name;
    ExpectKeyedFrames(banner, banner->w, 1, name);
    // Only the plate's cut corners are left out: the formation must not show through the
    // words or between their letters.
    EXPECT_LE(Count(banner, 0, 0, banner->w, banner->h, 0), 12) << name << " lets the play field through";
    EXPECT_GT(Count(banner, 0, 0, banner->w, banner->h, palette.at("cream")), 50) << name << ": no words";
  }

  Picture edit = Source("editbox.bmp");
  Picture font = Source("font_white.bmp");
  ASSERT_TRUE(edit && font);
  EXPECT_LE(50 + edit->w, 150) << "the edit field runs into the score column";
  EXPECT_GE(edit->h, font->h - 1) << "the edit field is lower than the name's letters";
  EXPECT_LE(edit->h, 22) << "the edit field covers the next table row";
}

// ---- Fonts -------------------------------------------------------------------------------

std::vector<int> Markers(const Picture& font) {
  std::vector<int> xs;
  for (int x = 0; x < font->w; ++x)
    if (At(font, x, 0) == At(font, 0, 0)) xs.push_back(x);
  return xs;
}

TEST_F(ContentTest, FontsMarkNinetyFiveGlyphBoundariesAndKeepTheirKeys) {
  for (const char* name : {"font_white.bmp", "font.bmp", "font_bold.bmp"}) {
    Picture font = Source(name);
    ASSERT_TRUE(font);
    const std::vector<int> marks = Markers(font);
    ASSERT_EQ(marks.size(), 96u) << name << ": one marker before each glyph of 33..127 and one after";
    EXPECT_EQ(marks.back(), font->w - 1) << name << ": nothing after the last glyph";
    const uint16_t background = At(font, 0, 5);
    EXPECT_NE(background, At(font, 0, 0)) << name;
    for (size_t k = 0; k + 1 < marks.size(); ++k) {
      const int x = marks[k] + 1, w = marks[k + 1] - marks[k] - 1;
      EXPECT_GE(w, 2) << name << " glyph of '" << char(33 + k) << "'";
      EXPECT_LE(w, 8) << name << " glyph of '" << char(33 + k) << "'";
      EXPECT_LT(Count(font, x, 0, w, font->h, background), w * font->h)
          << name << ": no ink for '" << char(33 + k) << "'";
    }
  }
  EXPECT_EQ(At(Source("font.bmp"), 0, 5), Grey(156));
  EXPECT_EQ(At(Source("font_bold.bmp"), 0, 5), Grey(128));
}

TEST_F(ContentTest, WhiteFontFitsTheLinesTableAndEditField) {
  Picture font = Source("font_white.bmp");
  Picture edit = Source("editbox.bmp");
  ASSERT_TRUE(font && edit);
  EXPECT_GE(font->h, 9);
  EXPECT_LE(font->h, 12) << "text lines are 15 apart";
  const std::vector<int> marks = Markers(font);
  ASSERT_EQ(marks.size(), 96u);
  const uint16_t white = palette.at("white");
  int widest = 0;
  for (size_t k = 0; k + 1 < marks.size(); ++k) {
    const int x = marks[k] + 1, w = marks[k + 1] - marks[k] - 1;
    widest = std::max(widest, w);
    // The gap between letters is drawn into each glyph: its last column holds no ink.
    EXPECT_EQ(Count(font, x + w - 1, 0, 1, font->h, white), 0)
        << "'" << char(33 + k) << "' touches the next letter";
  }
  const int cursor = marks['l' - 32] - marks['l' - 33] - 1;
  EXPECT_LE(10 * widest + cursor, edit->w) << "a 10-letter name and the cursor overflow the field";
}

TEST_F(ContentTest, TheGamesGlyphTableReadsTheWhiteFont) {
  Picture font = Source("font_white.bmp");
  ASSERT_TRUE(font);
  GlyphTable table{};
  BuildGlyphTable(font.get(), table);
  EXPECT_EQ(table.count, 96);
  int32_t x = 0, w = 0, lastX = 0, lastW = 0;
  ASSERT_TRUE(FindGlyph(table, '~', x, w));
  ASSERT_TRUE(FindGlyph(table, 127, lastX, lastW));
  EXPECT_EQ(x + w + 1, lastX) << "one marker between the last two glyphs";
  EXPECT_EQ(lastX + lastW, font->w - 1) << "the strip ends with the last marker";
  ASSERT_TRUE(FindGlyph(table, '!', x, w));
  EXPECT_EQ(x, 1);
}

// ---- Keyboard ------------------------------------------------------------------------------

// The ink pattern of a character in the white font, for comparing key labels with it.
std::vector<std::string> GlyphShape(const Picture& font, char ch, uint16_t ink) {
  const std::vector<int> marks = Markers(font);
  const int k = ch - 33;
  return InkShape(font, marks[k] + 1, 0, marks[k + 1] - marks[k] - 1, font->h, ink);
}

TEST_F(ContentTest, KeyboardKeysLieInsideTheKeyTableWithTheirCharacters) {
  Picture font = Source("font_white.bmp");
  ASSERT_TRUE(font);
  const uint16_t white = palette.at("white"), pale = palette.at("pale");
  struct Look {
    const char* name;
    bool large, pushed;
  };
  std::map<std::string, Picture> pictures;
  for (Look look : {Look{"keyboard_small.bmp", false, false}, Look{"keyboard_large.bmp", true, false},
                    Look{"keyboard_small_pushed.bmp", false, true},
                    Look{"keyboard_large_pushed.bmp", true, true}}) {
    Picture kb = Source(look.name);
    ASSERT_TRUE(kb);
    ASSERT_EQ(kb->w, 240);
    ASSERT_EQ(kb->h, 86);
    const uint16_t gap = At(kb, 0, 0);
    const uint16_t ink = look.pushed ? pale : white;
    // Label ink appears only inside key faces.
    std::vector<bool> inFace(240 * 86, false);
    for (const KeyboardKey& key : KeyTable) {
      const Rect& a = key.area;
      for (int y = a.top + 2; y <= a.bottom - 2; ++y)
        for (int x = a.left + 2; x <= a.right - 2; ++x) inFace[y * 240 + x] = true;
      // The ring just inside the area stays the gap colour: no label or face cuts it, so
      // a key copied from the pushed picture fits its neighbours.
      for (int x = a.left + 1; x <= a.right - 1; ++x) {
        EXPECT_EQ(At(kb, x, a.top + 1), gap) << look.name << " key at " << a.left << "," << a.top;
        EXPECT_EQ(At(kb, x, a.bottom - 1), gap) << look.name << " key at " << a.left << "," << a.top;
      }
      for (int y = a.top + 1; y <= a.bottom - 1; ++y) {
        EXPECT_EQ(At(kb, a.left + 1, y), gap) << look.name << " key at " << a.left << "," << a.top;
        EXPECT_EQ(At(kb, a.right - 1, y), gap) << look.name << " key at " << a.left << "," << a.top;
      }
      const int fx = a.left + 2, fy = a.top + 2, fw = a.right - a.left - 3, fh = a.bottom - a.top - 3;
      EXPECT_EQ(Count(kb, fx, fy, fw, fh, gap), 0) << look.name << ": face of the key at " << a.left
                                                   << "," << a.top << " does not fill its area";
      // Labels keep a margin: nothing is written on the face's two outer columns.
      for (int x : {fx, fx + 1, fx + fw - 2, fx + fw - 1}) {
        EXPECT_EQ(Count(kb, x, fy, 1, fh, ink), 0) << look.name << ": the label of the key at " << a.left
                                                   << "," << a.top << " touches its edge";
      }
      const int8_t code = look.large ? key.large : key.normal;
      const int labelPixels = Count(kb, fx, fy, fw, fh, ink);
      if (code == kNoActionKey) continue;
      EXPECT_GT(labelPixels, 0) << look.name << ": the key at " << a.left << "," << a.top
                                << " has no label";
      if (code > 32) {
        EXPECT_EQ(InkShape(kb, fx, fy, fw, fh, ink), GlyphShape(font, char(code), white))
            << look.name << ": the key at " << a.left << "," << a.top << " is not labelled '"
            << char(code) << "'";
      }
    }
    for (int y = 0; y < 86; ++y)
      for (int x = 0; x < 240; ++x)
        if (!inFace[y * 240 + x]) {
          EXPECT_NE(At(kb, x, y), ink) << look.name << ": label ink outside a key at " << x << "," << y;
        }
    pictures[look.name] = std::move(kb);
  }
  // Pushed keys look pressed: every key's face differs between the normal and pushed
  // pictures, while the rings match.
  for (const char* layer : {"small", "large"}) {
    const Picture& up = pictures[std::string("keyboard_") + layer + ".bmp"];
    const Picture& down = pictures[std::string("keyboard_") + layer + "_pushed.bmp"];
    for (const KeyboardKey& key : KeyTable) {
      const Rect& a = key.area;
      if (key.normal == kNoActionKey) continue;
      int changed = 0;
      for (int y = a.top + 2; y <= a.bottom - 2; ++y)
        for (int x = a.left + 2; x <= a.right - 2; ++x) changed += At(up, x, y) != At(down, x, y);
      EXPECT_GT(changed, (a.right - a.left) * (a.bottom - a.top) / 3)
          << layer << " key at " << a.left << "," << a.top << " does not look pressed";
    }
  }
}

// ---- Backgrounds: painted buttons where the touch areas are --------------------------------

struct Area {
  int left, top, right, bottom;
};

// A painted button: the face colour fills most of the area, a white label sits inside it,
// and the face does not spill outside it.
void ExpectButton(const Picture& screen, const std::map<std::string, uint16_t>& palette, Area a,
                  const std::string& what) {
  const int w = a.right - a.left, h = std::min(a.bottom, 320) - a.top;
  const uint16_t face = palette.at("steeldark"), white = palette.at("white");
  EXPECT_GT(Count(screen, a.left, a.top, w, h, face), w * h / 2) << what << ": no button face";
  EXPECT_GT(Count(screen, a.left + 2, a.top + 2, w - 4, h - 4, white), 4) << what << ": no label";
  if (a.left > 0) {
    EXPECT_LT(Count(screen, a.left - 1, a.top, 1, h, face), h / 2) << what << " spills left";
  }
  if (a.right < 240) {
    EXPECT_LT(Count(screen, a.right, a.top, 1, h, face), h / 2) << what << " spills right";
  }
}

TEST_F(ContentTest, MainMenuPaintsItsSixButtonsAndLeavesTheResumePlaceFree) {
  Picture menu = Source("main.bmp"), resume = Source("but_resume.bmp");
  ASSERT_TRUE(menu && resume);
  ExpectButton(menu, palette, {37, 60, 204, 83}, "New game");
  ExpectButton(menu, palette, {37, 94, 204, 117}, "Options");
  ExpectButton(menu, palette, {37, 127, 204, 150}, "Help");
  ExpectButton(menu, palette, {37, 157, 204, 180}, "High scores");
  ExpectButton(menu, palette, {37, 195, 204, 218}, "About");
  ExpectButton(menu, palette, {37, 228, 204, 251}, "Exit");
  EXPECT_EQ(Count(menu, 55, 24, resume->w, resume->h, palette.at("steeldark")), 0);
  EXPECT_LT(Count(menu, 55, 24, resume->w, resume->h, palette.at("white")), 4)
      << "text painted where the Resume button goes";
}

TEST_F(ContentTest, OptionsLabelsSitRightOfTheMarks) {
  Picture options = Source("options.bmp"), radio = Source("radio.bmp");
  ASSERT_TRUE(options && radio);
  for (int y : {81, 108, 136, 210, 244}) {
    EXPECT_GT(Count(options, 21 + radio->w + 2, y, 80, radio->h, palette.at("white")), 8)
        << "no label right of the mark at row " << y;
    EXPECT_EQ(Count(options, 21, y, radio->w, radio->h, palette.at("white")), 0)
        << "text under the mark at row " << y;
  }
  // Group titles above the two groups.
  EXPECT_GT(Count(options, 15, 55, 200, 24, palette.at("amber")), 8) << "no Difficulty title";
  EXPECT_GT(Count(options, 15, 183, 200, 25, palette.at("amber")), 8) << "no Sound title";
  ExpectButton(options, palette, {6, 290, 57, 318}, "Back");
}

TEST_F(ContentTest, ScoresKeepTheTableRowsAndEditFieldPlain) {
  Picture scores = Source("scores.bmp"), edit = Source("editbox.bmp"), font = Source("font_white.bmp");
  ASSERT_TRUE(scores && edit && font);
  for (int i = 0; i < 5; ++i) {
    const int y = 86 + 22 * i;
    EXPECT_TRUE(Uniform(scores, 50, y, edit->w, edit->h)) << "edit field of place " << i + 1;
    EXPECT_TRUE(Uniform(scores, 22, y, 200, font->h)) << "table row of place " << i + 1;
  }
  EXPECT_LT(Luma(At(scores, 50, 86)), 60) << "white text will not read on the table";
  ExpectButton(scores, palette, {20, 209, 65, 229}, "OK");
  ExpectButton(scores, palette, {123, 209, 200, 229}, "Reset");
}

TEST_F(ContentTest, HelpTextAreaIsPlainDarkAndMatchesTheHelpPictures) {
  Picture help = Source("help.bmp");
  ASSERT_TRUE(help);
  EXPECT_TRUE(Uniform(help, 19, 60, 205, 190 + 12)) << "the text area is not plain";
  const uint16_t paper = At(help, 19, 60);
  EXPECT_LT(Luma(paper), 60);
  for (const char* name : {"help_ship.bmp", "help_enemies.bmp", "help_gifts.bmp", "help_bricks.bmp"}) {
    Picture p = LoadBmp(kDataDir + name);
    ASSERT_TRUE(p) << name;
    EXPECT_EQ(At(p, 0, 0), paper) << name;
    EXPECT_EQ(At(p, p->w - 1, p->h - 1), paper) << name;
  }
  // Previous is painted left of the strip it shares with Close; Close right of it.
  const uint16_t face = palette.at("steeldark"), white = palette.at("white");
  EXPECT_EQ(Count(help, 95, 288, 15, 32, face), 0) << "a button painted where Previous and Close overlap";
  EXPECT_EQ(Count(help, 95, 288, 15, 32, white), 0);
  EXPECT_GT(Count(help, 50, 288, 45, 30, white), 10) << "no Previous arrow";
  ExpectButton(help, palette, {110, 290, 147, 318}, "Close");
  EXPECT_GT(Count(help, 160, 288, 59, 30, white), 10) << "no Next arrow";
  EXPECT_EQ(Count(help, 219, 288, 21, 32, face), 0) << "Next painted outside its area";
}

TEST_F(ContentTest, AboutAndSupportPaintTheirButtons) {
  Picture about = Source("about.bmp"), support = Source("support.bmp");
  ASSERT_TRUE(about && support);
  ExpectButton(about, palette, {4, 288, 68, 313}, "About: Back");
  ExpectButton(about, palette, {80, 288, 163, 314}, "About: Support");
  ExpectButton(support, palette, {4, 288, 68, 313}, "Support: Back");
  EXPECT_GT(Count(support, 10, 40, 220, 240, palette.at("white")), 500) << "the support text is missing";
}

TEST_F(ContentTest, PlayScreenLeavesRoomForTheNumbersAndPaintsMenu) {
  Picture play = Source("ingame.bmp"), font = Source("font_white.bmp");
  ASSERT_TRUE(play && font);
  const uint16_t label = palette.at("steellight");
  EXPECT_GT(Count(play, 0, 270, 51, 14, label), 10) << "no LIVES label left of x 51";
  EXPECT_GT(Count(play, 60, 272, 68, 14, label), 10) << "no SCORE label left of x 128";
  EXPECT_GT(Count(play, 60, 296, 68, 14, label), 10) << "no LEVEL label left of x 128";
  // Five digits of score and a few of lives and level fit right of each number's x.
  const uint16_t white = palette.at("white");
  for (Area a : {Area{51, 273, 76, 273 + 11}, Area{128, 275, 172, 275 + 11}, Area{128, 299, 172, 299 + 11}}) {
    EXPECT_EQ(Count(play, a.left, a.top, a.right - a.left, a.bottom - a.top, label), 0);
    EXPECT_EQ(Count(play, a.left, a.top, a.right - a.left, a.bottom - a.top, white), 0);
  }
  // Each number stands a few pixels inside its dark box, not against the box's frame.
  const uint16_t box = palette.at("night");
  for (Area a : {Area{51, 273, 0, 0}, Area{128, 275, 0, 0}, Area{128, 299, 0, 0}}) {
    EXPECT_EQ(Count(play, a.left - 4, a.top, 4, 11, box), 4 * 11) << "the number at " << a.left << ","
                                                                 << a.top << " hugs its box's frame";
  }
  ExpectButton(play, palette, {177, 273, 240, 292}, "Menu");
  // The play field is calm deep space: one colour covers nearly all of it.
  const uint16_t space = Commonest(play, 0, 0, 240, 264);
  EXPECT_GT(Count(play, 0, 0, 240, 264, space), 240 * 264 * 9 / 10);
}

// ---- Packs -----------------------------------------------------------------------------------

// The decompressed size of a gzip file, or -1.
long Inflated(const std::string& path) {
  gzFile f = gzopen(path.c_str(), "rb");
  if (!f) return -1;
  std::vector<char> buffer(1 << 16);
  long total = 0;
  for (int got; (got = gzread(f, buffer.data(), unsigned(buffer.size()))) > 0;) total += got;
  gzclose(f);
  return total;
}

TEST_F(ContentTest, PacksHoldThePicturesInOrderWithinTheirBuffers) {
  const long startSize = Inflated(kDataDir + "0.pak"), mainSize = Inflated(kDataDir + "1.pak");
  ASSERT_GT(startSize, 0) << "data/0.pak was not built";
  ASSERT_GT(mainSize, 0) << "data/1.pak was not built";
  EXPECT_LE(startSize, 200000);
  EXPECT_LE(mainSize, 2000000);

  std::snprintf(ExeDir, sizeof ExeDir, "%s/", ZORBLATS_GAME_DIR);
  PackFile reader(PackMode::Read);
  ImageSet start, main;
  std::string error;
  ASSERT_TRUE(reader.TryLoad(start, "\\data\\0", 200000, &error)) << error;
  ASSERT_EQ(start.Count(), 1);
  EXPECT_EQ(start.GetSurface(0)->w, 240);
  EXPECT_EQ(start.GetSurface(0)->h, 320);
  ASSERT_TRUE(reader.TryLoad(main, "//data//1", 2000000, &error)) << error;
  ASSERT_EQ(main.Count(), kImageCount);
  for (int i = 0; i < kImageCount; ++i) {
    Picture source = Source(kImageSourceNames[i]);
    ASSERT_TRUE(source);
    EXPECT_EQ(main.GetSurface(i)->w, source->w) << kImageSourceNames[i];
    EXPECT_EQ(main.GetSurface(i)->h, source->h) << kImageSourceNames[i];
  }
  start.FreeAll();
  main.FreeAll();
}

// ---- Determinism ---------------------------------------------------------------------------

TEST_F(ContentTest, TheSameSourcesGiveTheSameBytes) {
  const std::string out = folder + "again/";
  const std::string help = folder + "again-help/";
  ASSERT_EQ(std::system(("mkdir -p '" + out + "' '" + help + "'").c_str()), 0);
  const std::string command = std::string("'") + ZORBLATS_BINARY_DIR + "/tools/contentgen/picturegen' '" +
                              ZORBLATS_SOURCE_DIR + "/content' '" + out + "' '" + help + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (int i = 0; i < kImageCount; ++i) {
    const std::string name = kImageSourceNames[i];
    const std::vector<uint8_t> built = ReadFileBytes(kSourceDir + name);
    ASSERT_FALSE(built.empty()) << name;
    EXPECT_EQ(ReadFileBytes(out + name), built) << name << " came out different";
  }
  EXPECT_EQ(ReadFileBytes(help + "help_gifts.bmp"), ReadFileBytes(kDataDir + "help_gifts.bmp"));
}

// A fault in a source stops the generator with the file, the line and what is wrong, and
// writes no pictures at all, so the last good set stays.
TEST_F(ContentTest, BrokenSourcesAreNamedByFileAndLine) {
  const std::string content = std::string(ZORBLATS_SOURCE_DIR) + "/content/";
  const std::string tool = std::string(ZORBLATS_BINARY_DIR) + "/tools/contentgen/picturegen";
  struct Breakage {
    std::string file, find, replace, expected;
  };
  const std::vector<Breakage> cases = {
      {"sprites.txt", "sprite Enemy11 23 18 mirror\n............\n", "sprite Enemy11 23 18 mirror\n...........\n",
       "sprites.txt:"},
      {"sprites.txt", "sprite Weapon1 3 8\nala", "sprite Weapon1 3 8\naJa", "code 'J' not in the palette"},
      {"font.txt", ": A\n", ": \xC4\n", "font.txt:"},
      {"palette.txt", "white      w  255 255 255", "white      w  255 255", "palette.txt:"},
      {"screens.txt", "button 37 60 204 83 New game", "buton 37 60 204 83 New game", "unknown step"},
  };
  for (const Breakage& b : cases) {
    const std::string dir = folder + "broken/";
    const std::string out = folder + "broken-out/";
    ASSERT_EQ(std::system(("rm -rf '" + dir + "' '" + out + "' && mkdir -p '" + dir + "' '" + out + "' && cp '" +
                           content + "'*.txt '" + dir + "'").c_str()),
              0);
    std::vector<uint8_t> bytes = ReadFileBytes(dir + b.file);
    std::string text(bytes.begin(), bytes.end());
    const size_t at = text.find(b.find);
    ASSERT_NE(at, std::string::npos) << "the source no longer holds: " << b.find;
    text.replace(at, b.find.size(), b.replace);
    WriteFileBytes(dir + b.file, std::vector<uint8_t>(text.begin(), text.end()));
    const std::string errors = folder + "errors.txt";
    const int status = std::system(("'" + tool + "' '" + dir + "' '" + out + "' '" + out + "' 2> '" + errors + "'").c_str());
    EXPECT_NE(status, 0) << b.file << " broken by '" << b.replace << "' was accepted";
    const std::vector<uint8_t> said = ReadFileBytes(errors);
    const std::string message(said.begin(), said.end());
    EXPECT_NE(message.find(b.expected), std::string::npos) << "message: " << message;
    EXPECT_TRUE(ReadFileBytes(out + "Player1.bmp").empty()) << "pictures were written from broken sources";
    EXPECT_TRUE(ReadFileBytes(out + "main.bmp").empty()) << "pictures were written from broken sources";
  }
}

}  // namespace
