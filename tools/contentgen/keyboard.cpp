#include "tools/contentgen/keyboard.h"

#include <sstream>

std::vector<KeyPlace> LoadKeyboard(const std::string& path) {
  std::vector<KeyPlace> keys;
  std::vector<std::string> lines = SplitLines(ReadTextFile(path));
  int top = -1, bottom = -1;
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (line.empty() || line[0] == ';') continue;
    std::istringstream in(line);
    std::string word;
    in >> word;
    const std::string where = path + ":" + std::to_string(n + 1) + ": ";
    if (word == "row") {
      if (!(in >> top >> bottom)) throw SourceError(where + "expected: row TOP BOTTOM");
      continue;
    }
    KeyPlace key;
    key.top = top;
    key.bottom = bottom;
    if (!(in >> key.left >> key.right) || top < 0)
      throw SourceError(where + "expected a row, then: key|fn LEFT RIGHT ...");
    if (word == "key") {
      std::string normal, large;
      if (!(in >> normal >> large) || normal.size() != 1 || large.size() != 1)
        throw SourceError(where + "expected two characters");
      key.normal = normal[0];
      key.large = large[0];
    } else if (word == "fn") {
      if (!(in >> key.label)) throw SourceError(where + "expected a label");
      int ownBottom = 0;
      if (in >> ownBottom) key.bottom = ownBottom;
    } else {
      throw SourceError(where + "unknown word " + word);
    }
    if (key.left < 0 || key.right > kKeyboardWidth || key.top < 0 || key.bottom > kKeyboardHeight ||
        key.right - key.left < 6 || key.bottom - key.top < 6)
      throw SourceError(where + "key area outside the keyboard or too small");
    keys.push_back(key);
  }
  return keys;
}

// The drawn key symbols, each about 10 x 11 pixels round (cx, cy), so that they keep a
// margin inside the narrowest keys.

// A bent arrow for the two Enter keys.
static void ReturnArrow(Image& image, int cx, int cy, Rgb ink) {
  FillRect(image, cx + 3, cy - 4, 2, 6, ink);  // the upright
  FillRect(image, cx - 3, cy, 8, 2, ink);      // the bar
  for (int i = 0; i < 4; ++i) FillRect(image, cx - 5 + i, cy + 1 - i, 1, 2 * i, ink);
}

// An upward arrow over a bar for Caps: the head, its stem, then the bar below a gap.
static void CapsArrow(Image& image, int cx, int cy, Rgb ink) {
  for (int i = 0; i <= 4; ++i) FillRect(image, cx - i, cy - 5 + i, 2 * i + 1, 1, ink);
  FillRect(image, cx - 1, cy, 3, 3, ink);
  FillRect(image, cx - 3, cy + 4, 7, 2, ink);
}

// A left arrow for Backspace, the same shape as the help screen's Previous arrow.
static void BackArrow(Image& image, int cx, int cy, Rgb ink) {
  for (int i = 0; i <= 4; ++i) FillRect(image, cx - 6 + i, cy - i, 1, 2 * i + 1, ink);
  FillRect(image, cx - 1, cy - 1, 6, 3, ink);
}

Image MakeKeyboard(const std::vector<KeyPlace>& keys, const Palette& palette, const Font& font,
                   bool large, bool pushed) {
  const Rgb gap = palette["space"];
  Image board(kKeyboardWidth, kKeyboardHeight, gap);
  for (const KeyPlace& k : keys) {
    // The face spans the key's inner pixels; its outermost ring stays the gap colour so
    // that keys copied one by one between the pictures always meet cleanly.
    const int x0 = k.left + 2, y0 = k.top + 2;
    const int w = k.right - k.left - 3, h = k.bottom - k.top - 3;
    const bool blank = k.label == "blank";
    Rgb face = blank ? palette["night"] : palette["steeldark"];
    Rgb lit = blank ? palette["dusk"] : palette["steellight"];
    Rgb litSide = blank ? palette["dusk"] : palette["steel"];
    Rgb shade = palette["dusk"];
    if (pushed && !blank) {
      face = palette["dusk"];
      lit = palette["night"];
      litSide = palette["night"];
      shade = palette["steeldark"];
    }
    FillRect(board, x0, y0, w, h, face);
    FillRect(board, x0, y0, w, 1, lit);
    FillRect(board, x0, y0, 1, h, litSide);
    FillRect(board, x0 + 1, y0 + h - 1, w - 1, 1, shade);
    FillRect(board, x0 + w - 1, y0 + 1, 1, h - 1, shade);

    const int shift = pushed ? 1 : 0;
    const int cx = x0 + w / 2 + shift, cy = y0 + h / 2 + shift;
    TextStyle style;
    style.ink = pushed ? palette["pale"] : palette["white"];
    style.shadow = !pushed;
    style.shadowColour = palette["night"];
    std::string text;
    if (k.label.empty()) {
      text = std::string(1, large ? k.large : k.normal);
    } else if (k.label == "return" || k.label == "capslock" || k.label == "backspace") {
      // Symbols carry the same drop shadow as the written labels.
      auto symbol = k.label == "return" ? ReturnArrow : k.label == "capslock" ? CapsArrow : BackArrow;
      if (style.shadow) symbol(board, cx + 1, cy + 1, style.shadowColour);
      symbol(board, cx, cy, style.ink);
    } else if (!blank) {
      text = k.label;
    }
    if (!text.empty()) {
      // Centre the capitals' height; descenders may hang below.
      DrawCentred(board, font, text, cx, cy - kCapHeight / 2, style);
    }
    if (k.label == "capslock" && large) {
      // The caps light: lit while the large keys are up.
      FillRect(board, x0 + w - 4, y0 + 2, 2, 2, palette["amber"]);
    }
  }
  return board;
}
