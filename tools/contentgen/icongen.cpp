// icongen: the desktop icons of ZORBLATS, drawn from the Icon sprite of content/, and the
// browser page's on-screen controls, drawn from content/controls.txt.
//   icongen <content-folder> <out-folder> SIZE...
// Writes <out-folder>/SIZExSIZE/zorblats.png for each size: the 16 x 16 sprite scaled by the
// largest whole number that fits, centred on the play field's colour, so the pixels stay
// square and sharp at every size.
//   icongen <content-folder> <out-folder> controls
// Writes <out-folder>/left.png, right.png and fire.png: each control's frames (released,
// held) side by side at one pixel a pixel; the page scales them by whole numbers.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/contentgen/png.h"
#include "tools/contentgen/sources.h"

namespace {

// Writes each on-screen control's strip into folder as left.png, right.png and fire.png.
void WriteControls(const std::string& content, const Palette& palette, const std::string& folder) {
  const auto controls = LoadSprites(content + "controls.txt", palette);
  const char* const names[][2] = {
      {"ControlLeft", "left"}, {"ControlRight", "right"}, {"ControlFire", "fire"}};
  for (const auto& [sprite, file] : names) {
    const auto control = controls.find(sprite);
    if (control == controls.end()) throw SourceError(std::string("controls.txt has no ") + sprite);
    std::string error;
    if (!WritePng(folder + "/" + file + ".png", control->second.strip, &error)) {
      throw SourceError(error);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: icongen <content-folder> <out-folder> SIZE... | controls\n");
    return 2;
  }
  try {
    const std::string content = std::string(argv[1]) + "/";
    const Palette palette = LoadPalette(content + "palette.txt");
    if (std::string(argv[3]) == "controls") {
      WriteControls(content, palette, argv[2]);
      return 0;
    }
    const auto sprites = LoadSprites(content + "sprites.txt", palette);
    const auto icon = sprites.find("Icon");
    if (icon == sprites.end()) throw SourceError("sprites.txt has no Icon");
    const Image& art = icon->second.strip;
    for (int i = 3; i < argc; ++i) {
      const int size = std::stoi(argv[i]);
      const int scale = size / art.width;
      if (scale < 1 || art.height * scale > size) throw SourceError("no room for the icon");
      Image picture(size, size, palette["space"]);
      const int left = (size - art.width * scale) / 2, top = (size - art.height * scale) / 2;
      for (int y = 0; y < art.height * scale; ++y) {
        for (int x = 0; x < art.width * scale; ++x) {
          picture.Set(left + x, top + y, art.Get(x / scale, y / scale));
        }
      }
      std::string error;
      const std::string path =
          std::string(argv[2]) + "/" + argv[i] + "x" + argv[i] + "/zorblats.png";
      if (!WritePng(path, picture, &error)) throw SourceError(error);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "icongen: %s\n", e.what());
    return 1;
  }
  return 0;
}
