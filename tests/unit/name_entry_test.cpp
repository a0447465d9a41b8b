// The name entry on the on-screen keyboard: the key under each point, typing with Shift,
// Caps, Backspace and the limit, the pressed-key look, the cursor, and a final score going
// into the table.
#include <cstring>
#include <string>

#include "frontend/high_scores.h"
#include "game/ship.h"
#include "tests/support/screens.h"

namespace {

class NameEntry : public ScreenTest {
 protected:
  // The keys met along a line over the keyboard, "position:key" at each change; codes
  // below 32 in braces ({0} no key).
  static std::string Scan(int x, int y, bool down, bool positions = true) {
    std::string out;
    int32_t last = -1;
    for (int i = 0; i <= (down ? 86 : 240); ++i) {
      Rect area;
      const int32_t code = FindKey(down ? x : i, 234 + (down ? i : y), area);
      if (code == last) continue;
      if (positions) out += std::to_string(i) + ":";
      out += (code < 32 ? "{" + std::to_string(code) + "}" : std::string(1, char(code))) + (positions ? " " : "");
      last = code;
    }
    return out;
  }
  // Taps the key that gives a code in either layer ('\1': beside the keys; Enter is only
  // pressed; '\x7f' is a quit event).
  void Type(const char* keys) {
    for (const char* c = keys; *c; ++c) {
      int x = 0, y = 250;
      for (const KeyboardKey& k : KeyTable)
        if (k.normal == *c || k.large == *c) x = (k.area.left + k.area.right) / 2, y = 234 + (k.area.top + k.area.bottom) / 2;
      *c == 0x7f ? host.Quit() : *c == '\n' ? host.Press(x, y) : host.Tap(x, y);
    }
  }
};

TEST_F(NameEntry, EveryPointOfTheKeyboardFindsItsKey) {
  EXPECT_EQ(Scan(0, 9, false), "0:{0} 1:` 18:1 35:2 52:3 69:4 86:5 103:6 120:7 137:8 154:9 171:0 188:- 205:= 222:{26} 240:{0} ");
  EXPECT_EQ(Scan(0, 26, false), "0:{0} 1:\\ 24:q 41:w 58:e 75:r 92:t 109:y 126:u 143:i 160:o 177:p 194:[ 217:] 240:{0} ");
  EXPECT_EQ(Scan(0, 42, false), "0:{0} 1:{3} 30:a 47:s 64:d 81:f 98:g 115:h 132:j 149:k 166:l 183:; 200:' 217:{10} 240:{0} ");
  EXPECT_EQ(Scan(0, 60, false), "0:{0} 1:{5} 36:z 53:x 70:c 87:v 104:b 121:n 138:m 155:, 172:. 189:/ 206:{10} 240:{0} ");
  EXPECT_EQ(Scan(0, 77, false), "0:{0} 1:{4} 36:  205:{4} 240:{0} ");
  EXPECT_EQ(Scan(1, 0, true), "0:{0} 1:` 18:\\ 35:{3} 51:{0} 52:{5} 68:{0} 69:{4} 86:{0} ");
  EXPECT_EQ(Scan(230, 0, true), "0:{0} 1:{26} 18:] 35:{10} 68:{0} 69:{4} 86:{0} ");
  largeKeys = 1;
  std::string large;
  for (int y : {9, 26, 42, 60, 77}) large += Scan(0, y, false, false);
  EXPECT_EQ(large, "{0}~!@#$%^&*()_+{26}{0}{0}|QWERTYUIOP{}{0}{0}{3}ASDFGHJKL:\"{10}{0}{0}{5}ZXCVBNM<>?{10}{0}{0}{4} {4}{0}");
}

TEST_F(NameEntry, TypingWithShiftCapsBackspaceAndTheLimit) {
  const struct {
    const char* keys;
    const char* name;
    int32_t large, pending, result;
  } kCases[] = {
      {"\5a", "A", 0, 0, 1},            {"\3\5a", "a", 1, 0, 1},  // Caps, Shift, a
      {"\5\5a", "a", 1, 0, 1},          {"\5\1a", "a", 0, 0, 1},  // a tap beside the keys
      {"\x1a" "abcdefghijk\x1a" "z", "abcdefghiz", 0, 0, 1},   {"\5b\n", "B", 0, 0, 1},
      {"\5\n", "", 1, 1, 1},            {"qr\x7f", "qr", 0, 0, 3},
  };
  PlaceEditField(0);
  for (const auto& c : kCases) {
    largeKeys = shiftPending = 0;
    Type(c.keys);
    if (!std::strpbrk(c.keys, "\n\x7f")) host.Press(30, 215, SDL_BUTTON_RIGHT);  // Done, any button
    char name[20] = {};
    EXPECT_EQ(RunNameEntry(name, 10), c.result) << c.name;
    EXPECT_STREQ(name, c.name);
    EXPECT_EQ(largeKeys * 10 + shiftPending, c.large * 10 + c.pending) << c.name;
  }
  host.Tap(38, 276, SDL_BUTTON_RIGHT).Press(30, 215);  // only the left button types
  char name[20] = {};
  RunNameEntry(name, 10);
  EXPECT_STREQ(name, "");
}

TEST_F(NameEntry, AKeyLooksPressedWhileTheStylusIsOnIt) {
  // How the keys q and e look: P pressed, N normal, ? neither (the key's rectangle alone
  // comes from the pressed picture of the layer shown).
  auto look = [](const Rect& a) {
    SDL_Surface* normal = Images[largeKeys ? kKeyboardLarge : kKeyboardSmall];
    SDL_Surface* pressed = Images[largeKeys ? kKeyboardLargePushed : kKeyboardSmallPushed];
    bool isPressed = true, isNormal = true;
    for (int y = a.top - 1; y <= a.bottom; ++y)
      for (int x = a.left - 1; x <= a.right; ++x) {
        const bool in = x >= a.left && x < a.right && y >= a.top && y < a.bottom;
        isNormal = isNormal && ReadPixel(x, 234 + y, ScreenSurface) == ReadPixel(x, y, normal);
        isPressed = isPressed && ReadPixel(x, 234 + y, ScreenSurface) == ReadPixel(x, y, in ? pressed : normal);
      }
    return isPressed ? 'P' : isNormal ? 'N' : '?';
  };
  for (int32_t layer : {0, 1}) {
    std::string looks;
    onPoll = [&] {
      const std::string now{look(KeyTable[15].area), look(KeyTable[17].area)};
      if (looks.size() < 2 || looks.substr(looks.size() - 2) != now) looks += now;
    };
    largeKeys = layer;
    host.Press(32, 260).Motion(32, 300).Motion(32, 262).Release(32, 300);  // q: off, on, lift
    host.Press(66, 260).Motion(66, 300).Release(66, 262).Press(30, 215);   // e: off, lift
    char name[20] = {};
    PlaceEditField(4);
    RunNameEntry(name, 10);
    onPoll = nullptr;
    EXPECT_EQ(looks, "NNPNNNPNNNNPNN");
    EXPECT_STREQ(name, layer ? "Q" : "q");
  }
}

TEST_F(NameEntry, TheCursorBlinksInTheFieldOnTheNewRow) {
  PlaceEditField(2);
  DrawHighScoreScreen();
  std::string blinks;
  uint64_t first = 0;
  for (int i = 0; i < 9; ++i) {
    DrawEditField("ab");
    if (i == 0) first = ScreenDigest();
    blinks += ScreenDigest() == first ? 'l' : '-';
  }
  EXPECT_EQ(blinks, "lll----ll");
  EXPECT_EQ(ScreenDigest(), 16667832459123014051u);  // "ab" and the cursor at (50, 130)
}

TEST_F(NameEntry, AFinalScoreTakesTheFirstPlaceWhoseScoreIsLower) {
  const struct {
    int32_t score;
    const char* keys;
    const char* table;
  } kCases[] = {
      {100, "z", "A500 B400 C300 D200 E100 "}, {101, "z", "A500 B400 C300 D200 z101 "},
      {400, "z", "A500 B400 z400 C300 D200 "}, {900, "", "900 A500 B400 C300 D200 "},
      {501, "zo\x7f", "zo501 A500 B400 C300 D200 "},
  };
  bool pictureShown = false;
  onDelay = [&](uint32_t ms) {
    if (ms == 3000) pictureShown = Shows(kGameOver, 40, 130);  // centred, for three seconds
  };
  for (const auto& c : kCases) {
    for (int i = 0; i < 5; ++i) {
      std::snprintf(Settings.highScoreNames[i], kNameFieldSize, "%c", 'A' + i);
      Settings.highScores[i] = 500 - 100 * i;
    }
    std::remove((folder + "data/zorblats.set").c_str());
    PlayerShip.score = c.score;
    blinkCounter = 0;
    pictureShown = false;
    Type(c.keys);
    if (!std::strchr(c.keys, 0x7f)) host.Press(30, 215);
    RunGameOverScreen();
    std::string table;
    for (int i = 0; i < 5; ++i) table += Settings.highScoreNames[i] + std::to_string(Settings.highScores[i]) + " ";
    EXPECT_EQ(table, c.table);
    EXPECT_TRUE(pictureShown);
    const bool entered = c.score > 100;
    EXPECT_EQ(blinkCounter > 0, entered);
    EXPECT_EQ(ReadFileBytes(folder + "data/zorblats.set").size(), entered ? 211u : 0u);
    SDL_Event leftover;
    while (host.Pending()) host.PollEvent(&leftover);
  }
}

}  // namespace
