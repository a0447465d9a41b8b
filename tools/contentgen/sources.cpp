#include "tools/contentgen/sources.h"

#include <fstream>
#include <sstream>

static SourceError Fault(const std::string& file, size_t line, const std::string& what) {
  return SourceError(file + ":" + std::to_string(line) + ": " + what);
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError(path + ": cannot be read");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

static bool Skippable(const std::string& line) {
  size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos || line[first] == ';';
}

Rgb Palette::operator[](const std::string& name) const {
  auto it = byName.find(name);
  if (it == byName.end()) throw SourceError("no colour named '" + name + "' in the palette");
  return it->second;
}

Palette LoadPalette(const std::string& path) {
  Palette palette;
  std::vector<std::string> lines = SplitLines(ReadTextFile(path));
  for (size_t n = 0; n < lines.size(); ++n) {
    if (Skippable(lines[n])) continue;
    std::istringstream in(lines[n]);
    std::string name, code;
    int r = -1, g = -1, b = -1;
    if (!(in >> name >> code >> r >> g >> b) || code.size() != 1 || r < 0 || r > 255 ||
        g < 0 || g > 255 || b < 0 || b > 255)
      throw Fault(path, n + 1, "expected: name code red green blue (0-255)");
    if (palette.byName.count(name) || palette.byCode.count(code[0]))
      throw Fault(path, n + 1, "colour name or code used twice");
    Rgb c{uint8_t(r), uint8_t(g), uint8_t(b)};
    palette.byName[name] = c;
    palette.byCode[code[0]] = c;
  }
  return palette;
}

std::map<std::string, Sprite> LoadSprites(const std::string& path, const Palette& palette) {
  std::map<std::string, Sprite> sprites;
  std::vector<std::string> lines = SplitLines(ReadTextFile(path));
  size_t n = 0;
  while (n < lines.size()) {
    if (Skippable(lines[n])) {
      ++n;
      continue;
    }
    std::istringstream head(lines[n]);
    std::string word, name, option;
    Sprite sprite;
    if (!(head >> word >> name >> sprite.frameWidth >> sprite.frameHeight) || word != "sprite" ||
        sprite.frameWidth <= 0 || sprite.frameHeight <= 0)
      throw Fault(path, n + 1, "expected: sprite NAME WIDTH HEIGHT [mirror]");
    head >> option;
    const bool mirror = option == "mirror";
    if (!option.empty() && !mirror) throw Fault(path, n + 1, "unknown option " + option);
    if (sprites.count(name)) throw Fault(path, n + 1, "sprite " + name + " drawn twice");
    const size_t rowLength = mirror ? size_t(sprite.frameWidth + 1) / 2 : size_t(sprite.frameWidth);
    std::vector<std::vector<std::string>> frames(1);
    for (++n;; ++n) {
      if (n >= lines.size()) throw Fault(path, n, "sprite " + name + " has no 'end'");
      const std::string& row = lines[n];
      if (row == "end") break;
      if (row == "--") {
        frames.emplace_back();
        continue;
      }
      if (row.size() != rowLength)
        throw Fault(path, n + 1, name + ": row of " + std::to_string(row.size()) +
                                     " codes, expected " + std::to_string(rowLength));
      for (char c : row)
        if (!palette.byCode.count(c))
          throw Fault(path, n + 1, name + ": code '" + std::string(1, c) + "' not in the palette");
      frames.back().push_back(row);
    }
    ++n;
    sprite.frames = int(frames.size());
    sprite.strip = Image(sprite.frameWidth * sprite.frames, sprite.frameHeight);
    for (int f = 0; f < sprite.frames; ++f) {
      if (int(frames[size_t(f)].size()) != sprite.frameHeight)
        throw Fault(path, n, name + ": frame " + std::to_string(f) + " has " +
                                 std::to_string(frames[size_t(f)].size()) + " rows, expected " +
                                 std::to_string(sprite.frameHeight));
      for (int y = 0; y < sprite.frameHeight; ++y) {
        const std::string& row = frames[size_t(f)][size_t(y)];
        for (int x = 0; x < sprite.frameWidth; ++x) {
          int source = x;
          if (mirror && x >= int(rowLength)) source = sprite.frameWidth - 1 - x;
          sprite.strip.Set(f * sprite.frameWidth + x, y, palette.byCode.at(row[size_t(source)]));
        }
      }
    }
    sprites[name] = std::move(sprite);
  }
  return sprites;
}

std::map<char, Glyph> LoadFont(const std::string& path) {
  std::map<char, Glyph> font;
  std::vector<std::string> lines = SplitLines(ReadTextFile(path));
  size_t n = 0;
  while (n < lines.size()) {
    const std::string& head = lines[n];
    if (head.empty() || head[0] == ';') {
      ++n;
      continue;
    }
    if (head.size() < 3 || head[0] != ':' || head[1] != ' ')
      throw Fault(path, n + 1, "expected ': C' (or ': CODE') starting the glyph of character C");
    int code = static_cast<unsigned char>(head[2]);
    if (head.size() > 3) {
      // Characters that cannot be typed are given by their decimal code.
      if (head.find_first_not_of("0123456789", 2) != std::string::npos)
        throw Fault(path, n + 1, "expected one character or a decimal code");
      code = std::stoi(head.substr(2));
    }
    if (code < kFirstGlyph || code > kLastGlyph)
      throw Fault(path, n + 1, "character outside " + std::to_string(kFirstGlyph) + "-" +
                                   std::to_string(kLastGlyph));
    const char ch = char(code);
    if (font.count(ch)) throw Fault(path, n + 1, "glyph drawn twice");
    Glyph glyph;
    for (int r = 0; r < kGlyphRows; ++r) {
      ++n;
      if (n >= lines.size()) throw Fault(path, n, "glyph cut short");
      const std::string& row = lines[n];
      if (row.empty() || row.find_first_not_of("#.") != std::string::npos)
        throw Fault(path, n + 1, "glyph rows hold only '#' and '.'");
      if (r == 0) glyph.width = int(row.size());
      if (int(row.size()) != glyph.width) throw Fault(path, n + 1, "glyph rows differ in width");
      glyph.rows.push_back(row);
    }
    ++n;
    font[ch] = glyph;
  }
  for (int ch = kFirstGlyph; ch <= kLastGlyph; ++ch)
    if (!font.count(char(ch)))
      throw SourceError(path + ": no glyph for code " + std::to_string(ch));
  return font;
}
