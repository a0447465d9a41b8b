// picturegen: makes every picture of ZORBLATS from the readable sources in content/.
//   picturegen <content-folder> <pack-source-folder> <help-picture-folder>
// The pack sources (start_screen.bmp and the 41 pictures of the main pack) go to the
// second folder, the help text's pictures to the third. The same sources always give the
// same bytes.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/contentgen/art.h"
#include "tools/contentgen/image.h"
#include "tools/contentgen/keyboard.h"
#include "tools/contentgen/layout.h"
#include "tools/contentgen/sources.h"
#include "tools/contentgen/text.h"

namespace {

std::string Folder(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

// Everything is drawn first and written at the end, so a fault in any source leaves the
// pictures of the last good run as they were.
struct Finished {
  std::string path;
  Image image;
};
std::vector<Finished> finished;

void Save(const std::string& folder, const std::string& name, const Image& image) {
  finished.push_back({folder + name, image});
}

void WriteAll() {
  for (const Finished& f : finished) {
    std::string error;
    if (!WriteBmp565(f.path, f.image, &error)) throw SourceError(error);
  }
}

// A whole shield (60 x 30): bevelled plates at the two top corners, plain plates between
// and below; the worn shield takes turns between its two kinds of damaged plate.
Image MakeBrick(const ArtKit& kit, bool worn) {
  const std::string wear = worn ? "_worn" : "";
  Image brick(60, 30, kit.palette["key"]);
  for (int cell = 0; cell < 8; ++cell) {
    std::string name = "brick_cell" + wear;
    if (cell == 0) name = "brick_corner" + wear;
    else if (cell == 3) name = "brick_corner_right" + wear;
    else if (worn && (cell + cell / 4) % 2 == 1) name = "brick_cell_worn2";
    Blit(brick, kit.sprites.at(name).strip, 15 * (cell % 4), 15 * (cell / 4), 0, 0, 15, 15, false);
  }
  return brick;
}

Sprite AsSprite(const Image& strip, int frameWidth) {
  Sprite s;
  s.frameWidth = frameWidth;
  s.frameHeight = strip.height;
  s.frames = strip.width / frameWidth;
  s.strip = strip;
  return s;
}

void Run(const std::string& content, const std::string& out, const std::string& helpOut) {
  ArtKit kit;
  kit.palette = LoadPalette(content + "palette.txt");
  kit.sprites = LoadSprites(content + "sprites.txt", kit.palette);
  kit.font = LoadFont(content + "font.txt");
  const Palette& pal = kit.palette;

  // Sprites that go into the pack as they are drawn.
  for (const char* name : {"Player1", "Weapon1", "Weapon2", "Enemy11", "Enemy21", "Enemy31",
                           "SmallEnemy", "GiftLauncher1", "Gifts", "StarFront1", "StarFront2",
                           "StarFront3", "StarFront4", "StarFront5", "radio"}) {
    auto it = kit.sprites.find(name);
    if (it == kit.sprites.end()) throw SourceError(std::string("sprites.txt has no ") + name);
    Save(out, std::string(name) + ".bmp", it->second.strip);
  }

  // Shields, blasts.
  const Image brick = MakeBrick(kit, false), worn = MakeBrick(kit, true);
  Save(out, "brick1.bmp", brick);
  Save(out, "small_brick.bmp", worn);
  Image spacing(30, 15, pal["key"]);
  Blit(spacing, brick, 0, 0, 15, 15, 30, 15, false);
  Save(out, "Brick.bmp", spacing);
  const Image blast = MakeEnemyExplosion(pal), shipBlast = MakeShipExplosion(pal);
  Save(out, "Explosion.bmp", blast);
  Save(out, "ExplosionPlayer.bmp", shipBlast);
  kit.sprites["brick1"] = AsSprite(brick, 60);
  kit.sprites["small_brick"] = AsSprite(worn, 60);
  kit.sprites["Explosion"] = AsSprite(blast, 23);
  kit.sprites["ExplosionPlayer"] = AsSprite(shipBlast, 30);

  // Fonts: the white one draws every text of the game; the other two are loaded and keyed.
  FontStripColours white{pal["red"], pal["key"], pal["white"], true, pal["space"], false};
  Save(out, "font_white.bmp", MakeFontStrip(kit.font, white));
  FontStripColours grey{pal["red"], Rgb{156, 156, 156}, pal["pale"], false, {}, false};
  Save(out, "font.bmp", MakeFontStrip(kit.font, grey));
  FontStripColours bold{pal["red"], Rgb{128, 128, 128}, pal["white"], false, {}, true};
  Save(out, "font_bold.bmp", MakeFontStrip(kit.font, bold));

  // The keyboard in its four looks.
  const std::vector<KeyPlace> keys = LoadKeyboard(content + "keyboard.txt");
  Save(out, "keyboard_small.bmp", MakeKeyboard(keys, pal, kit.font, false, false));
  Save(out, "keyboard_large.bmp", MakeKeyboard(keys, pal, kit.font, true, false));
  Save(out, "keyboard_small_pushed.bmp", MakeKeyboard(keys, pal, kit.font, false, true));
  Save(out, "keyboard_large_pushed.bmp", MakeKeyboard(keys, pal, kit.font, true, true));

  // Small pieces of the front end.
  Image editBox(96, 14, pal["night"]);
  FrameRect(editBox, 0, 0, 96, 14, pal["steel"]);
  Save(out, "editbox.bmp", editBox);
  for (const char* name : {"reserved30.bmp", "reserved36.bmp"}) {
    Image reserved(8, 8, pal["space"]);
    FrameRect(reserved, 0, 0, 8, 8, pal["dusk"]);
    Save(out, name, reserved);
  }

  // The focus mark of the keyboard and the gamepad, beside the help pictures.
  Save(helpOut, "focus.bmp", kit.sprites.at("focus").strip);

  // Backgrounds, banners and help pictures.
  for (const LaidOutPicture& pic : RunLayouts(content + "screens.txt", kit))
    Save(pic.help ? helpOut : out, pic.name, pic.image);
  WriteAll();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: picturegen <content-folder> <pack-source-folder> <help-folder>\n");
    return 2;
  }
  try {
    Run(Folder(argv[1]), Folder(argv[2]), Folder(argv[3]));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "picturegen: %s\n", e.what());
    return 1;
  }
  return 0;
}
