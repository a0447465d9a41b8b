// The game-over screen, the high-score insertion and the name entry on the on-screen
// keyboard: the key table, the layers with Caps and a one-shot Shift, press feedback,
// the cursor blink, and what lands in the settings file.
#include "frontend/name_entry.h"

#include <sys/stat.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "frontend/high_scores.h"
#include "frontend/keyboard.h"
#include "settings/settings.h"
#include "game/ship.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"
#include "text/font.h"

namespace {

constexpr int kKeyboardWidth = 240;
constexpr int kKeyboardHeight = 86;

// A keyboard picture whose every pixel differs from its neighbours' and from the same
// pixel of the other three pictures, so a copy from the wrong picture or the wrong place
// shows up.
uint16_t PatternPixel(int picture, int x, int y) {
  return static_cast<uint16_t>(0x8000 | ((x * 31 + y * 257 + picture * 4099) % 0x7FFF));
}

SDL_Surface* MakePatternPicture(int picture) {
  SDL_Surface* s = MakeSurface(kKeyboardWidth, kKeyboardHeight);
  for (int y = 0; y < kKeyboardHeight; ++y) {
    for (int x = 0; x < kKeyboardWidth; ++x) FillRect(s, x, y, 1, 1, PatternPixel(picture, x, y));
  }
  return s;
}

// The first key that gives a code in either layer.
const KeyboardKey& KeyFor(int code) {
  for (const KeyboardKey& key : KeyTable) {
    if (key.normal == code || key.large == code) return key;
  }
  ADD_FAILURE() << "no key gives code " << code;
  return KeyTable[0];
}

// The keyboard region of the screen as the game left it at some moment.
using KeyboardShot = std::vector<uint16_t>;

// Wraps the scripted host and photographs the keyboard each time the game takes an event,
// so the look of the keys between two events can be checked afterwards.
class PhotographingHost final : public HostInput {
 public:
  explicit PhotographingHost(ScriptedHost& inner) : inner(inner) {}
  void Delay(uint32_t ms) override { inner.Delay(ms); }
  uint32_t Ticks() override { return inner.Ticks(); }
  int WaitEvent(SDL_Event* event) override { return inner.WaitEvent(event); }
  const uint8_t* KeyState() override { return inner.KeyState(); }
  int PollEvent(SDL_Event* event) override {
    KeyboardShot shot(kKeyboardWidth * kKeyboardHeight);
    for (int y = 0; y < kKeyboardHeight; ++y) {
      for (int x = 0; x < kKeyboardWidth; ++x) {
        shot[y * kKeyboardWidth + x] = static_cast<uint16_t>(ReadPixel(x, kKeyboardY + y, ScreenSurface));
      }
    }
    const int got = inner.PollEvent(event);
    if (got) {
      types.push_back(event->type);
      shots.push_back(std::move(shot));
      times.push_back(inner.now);
    }
    return got;
  }
  ScriptedHost& inner;
  std::vector<uint8_t> types;     // every event taken, in order
  std::vector<KeyboardShot> shots;  // the keyboard as it looked when that event was taken
  std::vector<uint32_t> times;    // the virtual time then
};

class NameEntryTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    for (int i = 0; i < 4; ++i) {
      Images[kKeyboardSmall + i] = MakePatternPicture(i);
      owned.push_back(Images[kKeyboardSmall + i]);
    }
    UseHostInput(&camera);
    Settings = SettingsRecord{};
    largeKeys = 0;
    shiftPending = 0;
    blinkCounter = 0;
    SetKeyboardOrigin(0, kKeyboardY);
    PlayerShip = Ship{};
  }

  // Taps the centre of the key that gives a code (either layer).
  void TapKey(int code, uint8_t button = SDL_BUTTON_LEFT) {
    const Rect& a = KeyFor(code).area;
    host.Tap((a.left + a.right) / 2, kKeyboardY + (a.top + a.bottom) / 2, button);
  }
  void TapKeys(const char* text) {
    for (const char* p = text; *p; ++p) TapKey(*p);
  }

  // Runs the entry on a fresh buffer placed on a table row; returns its result.
  int32_t Enter(char (&name)[20], int place = 0) {
    PlaceEditField(place);
    return RunNameEntry(name, 10);
  }

  // Whether the shot equals a picture everywhere, except inside `pressed` (relative to the
  // keyboard), where it must equal `pressedPicture`.
  static ::testing::AssertionResult Looks(const KeyboardShot& shot, int picture,
                                          const Rect* pressed = nullptr, int pressedPicture = 0) {
    for (int y = 0; y < kKeyboardHeight; ++y) {
      for (int x = 0; x < kKeyboardWidth; ++x) {
        const bool in = pressed && PtInRect(*pressed, x, y);
        const uint16_t want = PatternPixel(in ? pressedPicture : picture, x, y);
        if (shot[y * kKeyboardWidth + x] != want) {
          return ::testing::AssertionFailure()
                 << "keyboard pixel (" << x << ", " << y << ") is not from picture "
                 << (in ? pressedPicture : picture);
        }
      }
    }
    return ::testing::AssertionSuccess();
  }
  KeyboardShot ScreenKeyboard() const {
    KeyboardShot shot(kKeyboardWidth * kKeyboardHeight);
    for (int y = 0; y < kKeyboardHeight; ++y) {
      for (int x = 0; x < kKeyboardWidth; ++x) {
        shot[y * kKeyboardWidth + x] = static_cast<uint16_t>(ScreenPixel(x, kKeyboardY + y));
      }
    }
    return shot;
  }

  std::string SettingsPath() const { return folder + "data/zorblats.set"; }
  static int32_t FileScore(const std::vector<uint8_t>& file, int place) {
    int32_t v = 0;
    std::memcpy(&v, &file[156 + 4 * place], 4);  // little-endian host
    return v;
  }
  static std::string FileName(const std::vector<uint8_t>& file, int place) {
    return std::string(reinterpret_cast<const char*>(&file[6 + 30 * place]));
  }

  // Ink pixels (the synthetic font's white) on one screen row between two columns.
  int InkOnRow(int y, int fromX, int toX) const {
    const uint32_t ink = Rgb565(255, 255, 255);
    int count = 0;
    for (int x = fromX; x < toX; ++x) count += ScreenPixel(x, y) == ink;
    return count;
  }

  PhotographingHost camera{host};
};

// ---- The key table ----

TEST_F(NameEntryTest, EveryKeyboardPointHasAtMostOneKeyAndEveryKeyCentreFindsItsKey) {
  for (int layer = 0; layer < 2; ++layer) {
    largeKeys = layer;
    for (int ry = 0; ry < kKeyboardHeight; ++ry) {
      for (int rx = 0; rx < kKeyboardWidth; ++rx) {
        int owners = 0;
        int owner = -1;
        for (int k = 0; k < kKeyCount; ++k) {
          const Rect& a = KeyTable[k].area;
          if (a.left < rx && rx < a.right && a.top < ry && ry < a.bottom) {
            ++owners;
            if (owner < 0) owner = k;
          }
        }
        ASSERT_LE(owners, 1) << "keys overlap at (" << rx << ", " << ry << ")";
        Rect area{-1, -1, -1, -1};
        const int32_t code = FindKey(rx, kKeyboardY + ry, area);
        if (owner < 0) {
          ASSERT_EQ(code, 0) << "(" << rx << ", " << ry << ")";
        } else {
          const KeyboardKey& key = KeyTable[owner];
          ASSERT_EQ(code, layer ? key.large : key.normal) << "(" << rx << ", " << ry << ")";
          ASSERT_EQ(area.left, key.area.left);
          ASSERT_EQ(area.top, key.area.top);
        }
      }
    }
    for (const KeyboardKey& key : KeyTable) {
      const Rect& a = key.area;
      Rect area{-1, -1, -1, -1};
      const int32_t code = FindKey((a.left + a.right) / 2, kKeyboardY + (a.top + a.bottom) / 2, area);
      EXPECT_EQ(code, layer ? key.large : key.normal);
      EXPECT_TRUE(area.left == a.left && area.top == a.top && area.right == a.right &&
                  area.bottom == a.bottom)
          << "centre of the key at (" << a.left << ", " << a.top << ")";
    }
  }
}

TEST_F(NameEntryTest, TheTwoLayersTypeEveryPrintableCharacterOnceAndTheRowsTileThePicture) {
  std::multiset<int> typed;
  for (const KeyboardKey& key : KeyTable) {
    if (key.normal >= 32) typed.insert(key.normal);
    if (key.large >= 32 && key.large != ' ') typed.insert(key.large);
    if (key.normal < 32) {
      EXPECT_EQ(key.normal, key.large) << "function keys are the same in both layers";
    }
  }
  for (int c = 32; c <= 126; ++c) EXPECT_EQ(typed.count(c), 1u) << "character " << c;
  EXPECT_EQ(typed.size(), 95u);

  // Each row runs from the left edge to the right edge with neighbours sharing a pixel.
  const int tops[] = {0, 17, 34, 51, 68};
  int k = 0;
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(KeyTable[k].area.left, 0) << "row " << row;
    while (true) {
      const Rect& a = KeyTable[k].area;
      EXPECT_EQ(a.top, tops[row]) << "key " << k;
      EXPECT_GE(a.bottom - a.top, 17) << "key " << k;
      EXPECT_LE(a.bottom, kKeyboardHeight);
      ++k;
      if (a.right == kKeyboardWidth) break;
      ASSERT_LT(k, kKeyCount);
      EXPECT_EQ(KeyTable[k].area.left + 1, a.right) << "key " << k;
    }
  }
  EXPECT_EQ(k, kKeyCount);
  // The row-2 Enter key reaches one pixel further down than its row.
  EXPECT_EQ(KeyFor(kEnterKey).area.bottom, 52);
}

TEST_F(NameEntryTest, KeyEdgesBelongToTheRightKey) {
  Rect area{};
  EXPECT_EQ(FindKey(17, 240, area), '`');
  EXPECT_EQ(FindKey(18, 240, area), '1');
  EXPECT_EQ(FindKey(0, 240, area), 0);      // the left pixel column has no key
  EXPECT_EQ(FindKey(100, 234, area), 0);    // nor has the top pixel row
  EXPECT_EQ(FindKey(239, 319, area), 4);    // the last pixel still lies in the last key
  EXPECT_EQ(FindKey(240, 300, area), 0);    // past the right edge
  EXPECT_EQ(FindKey(100, 320, area), 0);    // past the bottom edge
  EXPECT_EQ(FindKey(100, 233, area), 0);    // above the keyboard
  largeKeys = 1;
  EXPECT_EQ(FindKey(17, 240, area), '~');
  EXPECT_EQ(FindKey(18, 240, area), '!');
  // The keys follow the origin.
  SetKeyboardOrigin(10, 0);
  largeKeys = 0;
  EXPECT_EQ(FindKey(27, 6, area), '`');
  EXPECT_EQ(FindKey(28, 6, area), '1');
  EXPECT_EQ(FindKey(10, 6, area), 0);
}

// ---- Applying keys ----

TEST_F(NameEntryTest, TheEleventhCharacterIsDroppedAndBackspaceStopsAtEmpty) {
  char name[20];
  std::memset(name, 0, sizeof name);
  name[15] = 'Z';  // beyond the limit: must never be touched
  for (const char* p = "abcdefghijk"; *p; ++p) EXPECT_EQ(ApplyKey(*p, name, 10), 0);
  EXPECT_STREQ(name, "abcdefghij");
  EXPECT_EQ(name[10], '\0');
  EXPECT_EQ(name[15], 'Z');

  EXPECT_EQ(ApplyKey(kBackspaceKey, name, 10), 0);
  EXPECT_STREQ(name, "abcdefghi");
  for (int i = 0; i < 12; ++i) ApplyKey(kBackspaceKey, name, 10);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(name[15], 'Z');
  ApplyKey('x', name, 10);
  EXPECT_STREQ(name, "x");

  // Codes that type nothing leave the name alone; Enter ends the entry.
  ApplyKey(kNoActionKey, name, 10);
  ApplyKey(kNoKey, name, 10);
  EXPECT_STREQ(name, "x");
  EXPECT_EQ(ApplyKey(kEnterKey, name, 10), 1);
  EXPECT_STREQ(name, "x");
}

TEST_F(NameEntryTest, ShiftIsOneShotAndEnterKeepsItPending) {
  char name[20] = {};
  ApplyKey(kShiftKey, name, 10);
  EXPECT_EQ(shiftPending, 1);
  EXPECT_EQ(largeKeys, 1);
  EXPECT_EQ(ApplyKey(kEnterKey, name, 10), 1);
  EXPECT_EQ(shiftPending, 1);
  EXPECT_EQ(largeKeys, 1);
  ApplyKey('A', name, 10);
  EXPECT_EQ(shiftPending, 0);
  EXPECT_EQ(largeKeys, 0);
  // A key that types nothing also ends the shift.
  ApplyKey(kShiftKey, name, 10);
  ApplyKey(kNoActionKey, name, 10);
  EXPECT_EQ(shiftPending, 0);
  EXPECT_EQ(largeKeys, 0);
  // Caps toggles and leaves the shift state alone.
  ApplyKey(kCapsKey, name, 10);
  EXPECT_EQ(largeKeys, 1);
  ApplyKey(kCapsKey, name, 10);
  EXPECT_EQ(largeKeys, 0);
  EXPECT_EQ(shiftPending, 0);
  EXPECT_STREQ(name, "A");
}

// ---- The entry with the stylus ----

TEST_F(NameEntryTest, ShiftThenATypesCapitalAAndBringsTheSmallKeysBack) {
  TapKey(kShiftKey);
  TapKey('a');
  TapKey(kEnterKey);
  char name[20] = {};
  EXPECT_EQ(Enter(name), 1);
  EXPECT_STREQ(name, "A");
  EXPECT_EQ(largeKeys, 0);
  EXPECT_EQ(shiftPending, 0);
  // After Shift the large keys were shown; after the letter the small ones again.
  ASSERT_EQ(camera.shots.size(), 5u);  // down, up, down, up, Enter down
  EXPECT_TRUE(Looks(camera.shots[0], 0));
  EXPECT_TRUE(Looks(camera.shots[2], 1));
  EXPECT_TRUE(Looks(camera.shots[4], 0));
  EXPECT_TRUE(Looks(ScreenKeyboard(), 0));
}

TEST_F(NameEntryTest, CapsThenShiftThenATypesSmallAAndBringsTheLargeKeysBack) {
  TapKey(kCapsKey);
  TapKey(kShiftKey);
  TapKey('a');
  TapKey(kEnterKey);
  char name[20] = {};
  EXPECT_EQ(Enter(name), 1);
  EXPECT_STREQ(name, "a");
  EXPECT_EQ(largeKeys, 1);
  ASSERT_EQ(camera.shots.size(), 7u);
  EXPECT_TRUE(Looks(camera.shots[2], 1));  // after Caps
  EXPECT_TRUE(Looks(camera.shots[4], 0));  // after Shift
  EXPECT_TRUE(Looks(camera.shots[6], 1));  // after the letter
}

TEST_F(NameEntryTest, ShiftTwiceThenATypesSmallAAndLeavesTheLargeKeys) {
  TapKey(kShiftKey);
  TapKey(kShiftKey);
  TapKey('a');
  TapKey(kEnterKey);
  char name[20] = {};
  EXPECT_EQ(Enter(name), 1);
  EXPECT_STREQ(name, "a");
  EXPECT_EQ(largeKeys, 1);
  EXPECT_EQ(shiftPending, 0);
  ASSERT_EQ(camera.shots.size(), 7u);
  EXPECT_TRUE(Looks(camera.shots[4], 0));
  EXPECT_TRUE(Looks(camera.shots[6], 1));
}

TEST_F(NameEntryTest, SlidingOffAKeyTypesNothingAndSlidingBackShowsItPressedAgain) {
  const Rect q = KeyFor('q').area;
  const int qx = (q.left + q.right) / 2, qy = kKeyboardY + (q.top + q.bottom) / 2;
  const Rect w = KeyFor('w').area;
  const int wx = (w.left + w.right) / 2;
  // Off and lifted elsewhere: nothing typed, not even the key lifted on.
  host.Press(qx, qy).Motion(wx, qy).Release(wx, qy);
  // Off, back on, lifted on the key: typed.
  host.Press(qx, qy).Motion(qx, kKeyboardY - 5).Motion(q.left, kKeyboardY + q.top).Release(qx, qy);
  TapKey(kEnterKey);
  char name[20] = {};
  EXPECT_EQ(Enter(name), 1);
  EXPECT_STREQ(name, "q");

  ASSERT_EQ(camera.shots.size(), 8u);
  // Only the pressed key's rectangle comes from the pushed picture.
  EXPECT_TRUE(Looks(camera.shots[0], 0));
  EXPECT_TRUE(Looks(camera.shots[1], 0, &q, 2));  // held on q
  EXPECT_TRUE(Looks(camera.shots[2], 0));         // slid off: normal look
  EXPECT_TRUE(Looks(camera.shots[3], 0));         // after the lift
  EXPECT_TRUE(Looks(camera.shots[4], 0, &q, 2));  // pressed again
  EXPECT_TRUE(Looks(camera.shots[5], 0));         // slid off above the keyboard
  EXPECT_TRUE(Looks(camera.shots[6], 0, &q, 2));  // back on at the key's corner pixel
  EXPECT_TRUE(Looks(camera.shots[7], 0));
}

TEST_F(NameEntryTest, PressFeedbackUsesTheLargePicturesInTheLargeLayer) {
  largeKeys = 1;
  const Rect space = KeyFor(' ').area;
  const Rect back = KeyFor(kBackspaceKey).area;
  host.Press(100, kKeyboardY + 75).Release(100, kKeyboardY + 75);
  host.Press(230, kKeyboardY + 9).Release(230, kKeyboardY + 9);
  TapKey(kEnterKey);
  char name[20] = {};
  std::strcpy(name, "ab");
  EXPECT_EQ(Enter(name), 1);
  EXPECT_STREQ(name, "ab");  // a space, then backspace
  ASSERT_EQ(camera.shots.size(), 5u);
  EXPECT_TRUE(Looks(camera.shots[1], 1, &space, 3));
  EXPECT_TRUE(Looks(camera.shots[3], 1, &back, 3));
  EXPECT_TRUE(Looks(camera.shots[4], 1));
}

TEST_F(NameEntryTest, EnterKeysAndTheDoneAreaEndTheEntryAtOnce) {
  // Both Enter keys: no press feedback, the lift is left unread.
  const Rect upper = KeyTable[39].area;
  const Rect lower = KeyTable[51].area;
  ASSERT_EQ(KeyTable[39].normal, kEnterKey);
  ASSERT_EQ(KeyTable[51].normal, kEnterKey);
  for (const Rect& enter : {upper, lower}) {
    camera.shots.clear();
    host.Press((enter.left + enter.right) / 2, kKeyboardY + enter.top + 3)
        .Release((enter.left + enter.right) / 2, kKeyboardY + enter.top + 3);
    char name[20] = {};
    EXPECT_EQ(Enter(name), 1);
    EXPECT_EQ(host.Pending(), 1u);
    EXPECT_TRUE(Looks(ScreenKeyboard(), 0));
    SDL_Event lift;
    ASSERT_EQ(host.PollEvent(&lift), 1);
    EXPECT_EQ(lift.type, SDL_MOUSEBUTTONUP);
  }
  EXPECT_EQ(shiftPending, 0);
  EXPECT_EQ(largeKeys, 0);
}

TEST_F(NameEntryTest, TheDoneAreaEndsTheEntryWithAnyButtonButOnlyTheLeftButtonTypes) {
  TapKey('a', SDL_BUTTON_RIGHT);
  host.Tap(65, 220);  // just right of the done area: nothing
  TapKey('b');
  host.Tap(20, 209, SDL_BUTTON_MIDDLE);
  TapKey('c');  // never read
  char name[20] = {};
  EXPECT_EQ(Enter(name), 1);
  EXPECT_STREQ(name, "b");
  EXPECT_EQ(host.Pending(), 3u);  // the done lift and the unread tap
}

TEST_F(NameEntryTest, ATapBesideTheKeysEndsAPendingShiftAndShowsTheSmallKeysAtOnce) {
  TapKey(kShiftKey);
  host.Tap(0, kKeyboardY + 40);  // the keyboard's left pixel column: no key
  TapKey('a');
  TapKey(kEnterKey);
  char name[20] = {};
  EXPECT_EQ(Enter(name), 1);
  EXPECT_STREQ(name, "a");
  EXPECT_EQ(largeKeys, 0);
  ASSERT_EQ(camera.shots.size(), 7u);  // shift down/up, no-key down/up, a down/up, Enter
  EXPECT_TRUE(Looks(camera.shots[2], 1));  // Shift shows the large keys
  EXPECT_TRUE(Looks(camera.shots[3], 0));  // the tap beside the keys put the small ones back
  EXPECT_TRUE(Looks(camera.shots[6], 0));
}

TEST_F(NameEntryTest, ATapOnTheEditFieldRedrawsItOnceMore) {
  host.Tap(60, 86 + 5);    // on the field of place 0
  host.Tap(200, 150);      // neither field nor key nor done
  TapKey(kEnterKey);
  char name[20] = {};
  EXPECT_EQ(Enter(name), 1);
  // Five passes (two taps of two events each, then Enter), plus one for the field tap.
  EXPECT_EQ(blinkCounter, 6);
  EXPECT_STREQ(name, "");
}

TEST_F(NameEntryTest, TheCursorShowsForFourDrawsAndHidesForFour) {
  PlaceEditField(2);
  const Rect field = EditField.area;
  ASSERT_EQ(field.left, 50);
  ASSERT_EQ(field.top, 130);
  ASSERT_EQ(field.right, 50 + Images[kEditBox]->w);
  ASSERT_EQ(field.bottom, 130 + Images[kEditBox]->h);
  const uint16_t junk = Rgb565(10, 200, 30);
  const uint32_t paper = ReadPixel(0, 0, Images[kScores]);
  const uint32_t ink = Rgb565(255, 255, 255);
  SelectFont(kFontGrey);

  // With the synthetic font every glyph is 5 wide: "AB" ends at x 60, the cursor follows.
  const int inkRow = field.top + 4;
  const char* expected = "1110000111100001";
  for (int call = 0; call < 16; ++call) {
    FillRect(ScreenSurface, 40, 120, 120, 40, junk);  // old text all over the row
    DrawEditField("AB");
    EXPECT_EQ(blinkCounter, call + 1);
    const bool cursor = ScreenPixel(62, inkRow) == ink;
    EXPECT_EQ(cursor, expected[call] == '1') << "call " << call + 1;
    EXPECT_EQ(ScreenPixel(52, inkRow), ink);  // the name itself is always there
    EXPECT_EQ(ScreenPixel(57, inkRow), ink);
    EXPECT_EQ(InkOnRow(inkRow, 40, 160), cursor ? 15 : 10);
    // The field's rectangle is restored from the table picture, nothing outside it.
    EXPECT_EQ(ScreenPixel(field.right - 1, field.bottom - 1), paper);
    EXPECT_EQ(ScreenPixel(field.left, field.top), paper);
    EXPECT_EQ(ScreenPixel(field.right, field.top), junk);
    EXPECT_EQ(ScreenPixel(field.left - 1, field.top), junk);
    EXPECT_EQ(ScreenPixel(field.left, field.top - 1), junk);
    EXPECT_EQ(ScreenPixel(field.left, field.bottom), junk);
    EXPECT_EQ(CurrentFont, kFontWhite);
  }
}

// ---- Game over and the high-score table ----

TEST_F(NameEntryTest, AScoreWithoutAPlaceShowsOnlyTheGameOverPictureForThreeSeconds) {
  for (int i = 0; i < 5; ++i) Settings.highScores[i] = 1000;
  std::strcpy(Settings.highScoreNames[4], "Eve");
  PlayerShip.score = 1000;  // equal to the last place: not enough
  // An odd-sized picture: its centring halves are cut toward zero.
  Images[kGameOver] = MakeSurface(31, 21, Rgb565(200, 0, 0));
  owned.push_back(Images[kGameOver]);
  const uint16_t before = Rgb565(0, 0, 120);
  FillRect(ScreenSurface, 0, 0, 240, 320, before);
  TapKey('a');

  RunGameOverScreen();

  EXPECT_EQ(host.now, 3000u);
  EXPECT_EQ(blinkCounter, 0);      // no name entry
  EXPECT_EQ(host.Pending(), 2u);   // the tap was never read
  struct stat info;
  EXPECT_NE(stat(SettingsPath().c_str(), &info), 0) << "the settings file was written";
  EXPECT_EQ(Settings.highScores[4], 1000);
  EXPECT_STREQ(Settings.highScoreNames[4], "Eve");
  const uint32_t red = Rgb565(200, 0, 0);
  EXPECT_EQ(ScreenPixel(105, 150), red);
  EXPECT_EQ(ScreenPixel(135, 170), red);
  EXPECT_EQ(ScreenPixel(104, 150), before);
  EXPECT_EQ(ScreenPixel(105, 149), before);
  EXPECT_EQ(ScreenPixel(136, 170), before);
  EXPECT_EQ(ScreenPixel(135, 171), before);
}

TEST_F(NameEntryTest, AGoodScoreIsEnteredAfterTheGameOverPictureAndSaved) {
  const int32_t scores[5] = {90000, 80000, 7, 6, 5};
  const char* names[5] = {"Ann", "Bob", "Cid", "Dee", "Eve"};
  for (int i = 0; i < 5; ++i) {
    Settings.highScores[i] = scores[i];
    std::strcpy(Settings.highScoreNames[i], names[i]);
  }
  PlayerShip.score = 12345;  // place 2
  TapKeys("zorblatsxyz");    // eleven letters: the last is dropped
  host.Tap(30, 215);

  RunGameOverScreen();

  ASSERT_FALSE(camera.times.empty());
  EXPECT_GE(camera.times[0], 3000u) << "the entry began before the picture's three seconds";
  // The new row shows the new score (five digits) while the name is typed, and the moved
  // entry (one digit) is on the row below.
  EXPECT_EQ(InkOnRow(130 + 4, 150, 240), 25);
  EXPECT_EQ(InkOnRow(152 + 4, 150, 240), 5);

  const std::vector<uint8_t> file = ReadFileBytes(SettingsPath());
  ASSERT_EQ(file.size(), kSettingsFileSize);
  EXPECT_EQ(FileName(file, 2), "zorblatsxy");
  EXPECT_EQ(FileScore(file, 2), 12345);
  EXPECT_EQ(FileName(file, 1), "Bob");
  EXPECT_EQ(FileScore(file, 1), 80000);
  EXPECT_EQ(FileName(file, 3), "Cid");
  EXPECT_EQ(FileScore(file, 3), 7);
  EXPECT_EQ(FileName(file, 4), "Dee");
  EXPECT_EQ(FileScore(file, 4), 6);
}

TEST_F(NameEntryTest, AQuitDuringTheEntryStoresTheNameSoFarAndSaves) {
  std::strcpy(Settings.highScoreNames[0], "Old");
  Settings.highScores[0] = 300;
  TapKeys("hi");
  host.Quit();
  TapKey('x');  // never read: the entry has ended
  EnterHighScore(500);
  EXPECT_STREQ(Settings.highScoreNames[0], "hi");
  EXPECT_EQ(Settings.highScores[0], 500);
  EXPECT_STREQ(Settings.highScoreNames[1], "Old");
  EXPECT_EQ(Settings.highScores[1], 300);
  const std::vector<uint8_t> file = ReadFileBytes(SettingsPath());
  ASSERT_EQ(file.size(), kSettingsFileSize);
  EXPECT_EQ(FileName(file, 0), "hi");
  EXPECT_EQ(FileScore(file, 0), 500);
  EXPECT_EQ(FileName(file, 1), "Old");
  EXPECT_EQ(host.Pending(), 2u);
}

TEST_F(NameEntryTest, AnEmptyNameIsStoredWithItsScore) {
  const int32_t scores[5] = {50, 40, 30, 10, 1};
  for (int i = 0; i < 5; ++i) Settings.highScores[i] = scores[i];
  std::strcpy(Settings.highScoreNames[4], "Longname");
  TapKey(kEnterKey);
  EnterHighScore(2);  // place 4
  EXPECT_STREQ(Settings.highScoreNames[4], "");
  EXPECT_EQ(Settings.highScores[4], 2);
  const std::vector<uint8_t> file = ReadFileBytes(SettingsPath());
  ASSERT_EQ(file.size(), kSettingsFileSize);
  EXPECT_EQ(FileName(file, 4), "");
  EXPECT_EQ(FileScore(file, 4), 2);
  EXPECT_EQ(FileScore(file, 3), 10);
}

TEST_F(NameEntryTest, CapsLeftOnCarriesToTheNextEntryAndTheHighScoreScreen) {
  TapKey(kCapsKey);
  TapKey('a');
  TapKey(kEnterKey);
  EnterHighScore(100);
  EXPECT_STREQ(Settings.highScoreNames[0], "A");
  EXPECT_EQ(largeKeys, 1);

  camera.shots.clear();
  TapKey('a');
  TapKey(kEnterKey);
  EnterHighScore(50);
  EXPECT_STREQ(Settings.highScoreNames[1], "A");
  ASSERT_FALSE(camera.shots.empty());
  EXPECT_TRUE(Looks(camera.shots[0], 1)) << "the next entry opened with the small keys";

  FillRect(ScreenSurface, 0, 0, 240, 320, 0);
  DrawHighScoreScreen();
  EXPECT_TRUE(Looks(ScreenKeyboard(), 1));
}

}  // namespace
