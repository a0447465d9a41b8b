#include "tools/contentgen/layout.h"

#include <sstream>

#include "tools/contentgen/art.h"

namespace {

// The words of a line, and the rest of the line after a given number of words (labels).
struct Line {
  std::vector<std::string> words;
  std::string text;
  std::string RestAfter(size_t count) const {
    size_t pos = 0;
    for (size_t i = 0; i < count; ++i) {
      pos = text.find_first_not_of(' ', pos);
      pos = text.find(' ', pos);
      if (pos == std::string::npos) return "";
    }
    pos = text.find_first_not_of(' ', pos);
    return pos == std::string::npos ? "" : text.substr(pos);
  }
};

int Number(const Line& line, size_t i) {
  if (i >= line.words.size()) throw SourceError("missing number");
  size_t used = 0;
  int v = std::stoi(line.words[i], &used);
  if (used != line.words[i].size()) throw SourceError("not a number: " + line.words[i]);
  return v;
}

std::vector<Rgb> Colours(const ArtKit& kit, const Line& line, size_t from) {
  std::vector<Rgb> colours;
  for (size_t i = from; i < line.words.size(); ++i) colours.push_back(kit.palette[line.words[i]]);
  if (colours.empty()) throw SourceError("needs at least one colour");
  return colours;
}

TextStyle PlainStyle(const ArtKit& kit, const std::string& colour) {
  TextStyle style;
  style.ink = kit.palette[colour];
  style.shadow = true;
  style.shadowColour = kit.palette["space"];  // a soft drop shadow on the dark screens
  return style;
}

void Step(const ArtKit& kit, const Line& line, LaidOutPicture& pic) {
  const std::string& op = line.words[0];
  Image& im = pic.image;
  if (op == "fill") {
    FillRect(im, 0, 0, im.width, im.height, kit.palette[line.words.at(1)]);
  } else if (op == "rect") {
    FillRect(im, Number(line, 1), Number(line, 2), Number(line, 3), Number(line, 4),
             kit.palette[line.words.at(5)]);
  } else if (op == "frame") {
    FrameRect(im, Number(line, 1), Number(line, 2), Number(line, 3), Number(line, 4),
              kit.palette[line.words.at(5)]);
  } else if (op == "stars") {
    Starfield(im, kit.palette, uint32_t(Number(line, 1)), Number(line, 2), Number(line, 3),
              Number(line, 4), Number(line, 5), Number(line, 6));
  } else if (op == "nebula") {
    Nebula(im, uint32_t(Number(line, 1)), Number(line, 2), Number(line, 3), Number(line, 4),
           Number(line, 5), Colours(kit, line, 6));
  } else if (op == "planet") {
    Planet(im, Number(line, 1), Number(line, 2), Number(line, 3), Colours(kit, line, 4));
  } else if (op == "button") {
    DrawButton(im, kit.palette, kit.font, Number(line, 1), Number(line, 2), Number(line, 3),
               Number(line, 4), line.RestAfter(5));
  } else if (op == "arrow") {
    const std::string& way = line.words.at(5);
    if (way != "left" && way != "right") throw SourceError("arrow points left or right");
    DrawArrowButton(im, kit.palette, Number(line, 1), Number(line, 2), Number(line, 3),
                    Number(line, 4), way == "left");
  } else if (op == "panel") {
    DrawPanel(im, kit.palette, Number(line, 1), Number(line, 2), Number(line, 3), Number(line, 4));
  } else if (op == "plate") {
    DrawPlate(im, kit.palette, Number(line, 1), Number(line, 2), Number(line, 3), Number(line, 4));
  } else if (op == "text" || op == "ctext" || op == "rtext") {
    const TextStyle style = PlainStyle(kit, line.words.at(3));
    const std::string label = line.RestAfter(4);
    int x = Number(line, 1);
    if (op == "ctext") x -= TextWidth(kit.font, label) / 2;
    if (op == "rtext") x -= TextWidth(kit.font, label);
    DrawString(im, kit.font, label, x, Number(line, 2), style);
  } else if (op == "title") {
    // Big letters: cream over amber, ringed in ember, with a dark outline around that.
    TextStyle style;
    style.scale = Number(line, 3);
    style.ink = kit.palette["cream"];
    style.twoTone = true;
    style.lowerInk = kit.palette["orange"];
    style.outline = true;
    style.outlineColour = kit.palette[line.words.at(4)];
    style.tracking = 1;
    style.shadow = true;
    style.shadowColour = kit.palette["ember"];
    DrawCentred(im, kit.font, line.RestAfter(5), Number(line, 1), Number(line, 2), style);
  } else if (op == "sprite") {
    auto it = kit.sprites.find(line.words.at(1));
    if (it == kit.sprites.end()) throw SourceError("no sprite " + line.words.at(1));
    const Sprite& s = it->second;
    const int frame = Number(line, 2);
    if (frame < 0 || frame >= s.frames) throw SourceError("no such frame");
    Blit(im, s.strip, Number(line, 3), Number(line, 4), frame * s.frameWidth, 0, s.frameWidth,
         s.frameHeight, true, kit.palette["key"]);
  } else {
    throw SourceError("unknown step '" + op + "'");
  }
}

}  // namespace

std::vector<LaidOutPicture> RunLayouts(const std::string& path, const ArtKit& kit) {
  std::vector<LaidOutPicture> pictures;
  std::vector<std::string> lines = SplitLines(ReadTextFile(path));
  for (size_t n = 0; n < lines.size(); ++n) {
    Line line;
    line.text = lines[n];
    std::istringstream in(line.text);
    for (std::string w; in >> w;) line.words.push_back(w);
    if (line.words.empty() || line.words[0][0] == ';') continue;
    try {
      const std::string& op = line.words[0];
      if (op == "picture" || op == "help") {
        LaidOutPicture pic;
        pic.name = line.words.at(1);
        pic.help = op == "help";
        const int w = Number(line, 2), h = Number(line, 3);
        if (w <= 0 || h <= 0 || w > 240 || h > 320) throw SourceError("bad picture size");
        pic.image = Image(w, h, kit.palette["space"]);
        pictures.push_back(std::move(pic));
      } else {
        if (pictures.empty()) throw SourceError("a step before the first picture");
        Step(kit, line, pictures.back());
      }
    } catch (const SourceError& e) {
      throw SourceError(path + ":" + std::to_string(n + 1) + ": " + e.what());
    } catch (const std::exception& e) {
      throw SourceError(path + ":" + std::to_string(n + 1) + ": malformed line (" + e.what() + ")");
    }
  }
  return pictures;
}
