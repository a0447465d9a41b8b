// The screen layouts: content/screens.txt describes every background, banner and help
// picture as a list of drawing steps in the game's style.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "tools/contentgen/image.h"
#include "tools/contentgen/sources.h"
#include "tools/contentgen/text.h"

// Everything a layout can draw with.
struct ArtKit {
  Palette palette;
  std::map<std::string, Sprite> sprites;  // sprites.txt plus the made ones (bricks, blasts)
  Font font;
};

// One finished picture of a layout file.
struct LaidOutPicture {
  std::string name;  // file name, e.g. "main.bmp"
  bool help = false; // goes beside the help text instead of into the packs' sources
  Image image;
};

// Runs every step of a layout file. Throws SourceError naming the line of a fault.
std::vector<LaidOutPicture> RunLayouts(const std::string& path, const ArtKit& kit);
