// The on-screen keyboard pictures, drawn key by key from content/keyboard.txt.
#pragma once
#include <string>
#include <vector>

#include "tools/contentgen/image.h"
#include "tools/contentgen/sources.h"
#include "tools/contentgen/text.h"

// One key as keyboard.txt gives it; areas are relative to the keyboard's corner.
struct KeyPlace {
  int left = 0, top = 0, right = 0, bottom = 0;
  char normal = 0, large = 0;  // character keys
  std::string label;           // function keys: a written label ("Shift", "space"), or a
                               // drawn symbol: "return", "capslock", "backspace", "blank"
};

constexpr int kKeyboardWidth = 240;
constexpr int kKeyboardHeight = 86;

// Reads keyboard.txt; throws SourceError on a malformed line or a key outside the picture.
std::vector<KeyPlace> LoadKeyboard(const std::string& path);

// Draws the keyboard: the large layer's characters when `large`, every key pressed in
// when `pushed`.
Image MakeKeyboard(const std::vector<KeyPlace>& keys, const Palette& palette, const Font& font,
                   bool large, bool pushed);
