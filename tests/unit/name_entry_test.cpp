// The game-over screen and the name entry: a final score going into the table with a name
// typed with Shift, Caps, Backspace and the limit (the large layer), the pressed-key look, and
// the blinking cursor on the new row.
#include "frontend/high_scores.h"
#include "game/ship.h"
#include "tests/support/harness.h"

TEST_F(ScreenTest, AFinalScoreTakesTheFirstLowerPlaceWithTheNameTyped) {
  // Keys as TypeKeys takes them; the Done area follows unless Enter or a quit ended the entry.
  const struct {
    int32_t score;
    const char *keys, *table;
    int32_t large, shift;  // the layer and the Shift left at the end
  } kCases[] = {
      {101, "\5a", "V500 W400 X300 Y200 A101 ", 0, 0},
      {400, "\3\5a", "V500 W400 a400 X300 Y200 ", 1, 0},
      {900, "\5\5a", "a900 V500 W400 X300 Y200 ", 1, 0},
      {501, "\5\1a", "a501 V500 W400 X300 Y200 ", 0, 0},
      {501, "q\x1a\5b\n", "B501 V500 W400 X300 Y200 ", 0, 0},
      {501, "\032abcdefghijk\032z", "abcdefghiz501 V500 W400 X300 Y200 ", 0, 0},
      {501, "\5\n", "501 V500 W400 X300 Y200 ", 1, 1},
      {501, "\2q\x7f", "q501 V500 W400 X300 Y200 ", 0, 0},
      // No place: no entry, no file (the keys stay unread).
      {100, "a", "V500 W400 X300 Y200 Z100 ", 0, 0},
  };
  bool pictureShown = false;
  // The game-over picture, centred.
  onDelay = [&](uint32_t ms) { pictureShown |= ms == 3000 && Shows(Images[kGameOver], 40, 130); };
  for (const auto& c : kCases) {
    for (int i = 0; i < 5; ++i)
      std::snprintf(Settings.highScoreNames[i], kNameFieldSize, "%c", 'V' + i),
          Settings.highScores[i] = 500 - 100 * i;
    std::remove((folder + "data/zorblats.set").c_str());
    PlayerShip.score = c.score;
    largeKeys = shiftPending = blinkCounter = pictureShown = 0;
    TypeKeys(host, c.keys);
    if (!std::strpbrk(c.keys, "\n\x7f")) host.Press(30, 215, SDL_BUTTON_RIGHT);  // any button
    RunGameOverScreen();
    std::string table;
    for (int i = 0; i < 5; ++i)
      table += Settings.highScoreNames[i] + std::to_string(Settings.highScores[i]) + " ";
    EXPECT_EQ(std::tuple(table, largeKeys, shiftPending, pictureShown),
              std::tuple(c.table, c.large, c.shift, 1))
        << c.keys;
    EXPECT_EQ(ReadFileBytes(folder + "data/zorblats.set").size(), blinkCounter ? 211u : 0u);
  }
}

TEST_F(ScreenTest, AKeyLooksPressedWhileTheStylusIsOnIt) {
  for (int32_t layer : {0, 1}) {
    std::string looks;  // how the q key looks at each poll: P pressed, N normal, ? neither
    onPoll = [&] {      // the pressed picture shows in the q key's rectangle, and only there
      const Rect& q = KeyTable[15].area;
      const int w = q.right - q.left, h = q.bottom - q.top;
      SDL_Surface *up = Images[kKeyboardSmall + largeKeys],
                  *down = Images[kKeyboardSmallPushed + largeKeys];
      const char look =
          Shows(up, q.left - 1, 233 + q.top, w + 2, h + 2, q.left - 1, q.top - 1) ? 'N'
          : Shows(down, q.left, 234 + q.top, w, h, q.left, q.top) &&
                  Shows(up, q.right, 233 + q.top, 1, h + 2, q.right, q.top - 1) &&
                  Shows(up, q.left - 1, 234 + q.bottom, w + 2, 1, q.left - 1, q.bottom)
              ? 'P'
              : '?';
      if (looks.empty() || looks.back() != look) looks += look;
    };
    largeKeys = layer;
    host.cursor = host.now + 1;  // the stylus goes down once the entry shows
    host.Press(32, 260).Motion(32, 300).Motion(32, 262).Release(32, 300);  // off, on, lift: typed
    // Off and lift: not typed. Then Shift, and a tap beside the keys: the other layer at once.
    host.Press(32, 260).Motion(32, 300).Release(32, 262).Tap(18, 294).Press(0, 250).Press(30, 215);
    char name[20] = {};
    PlaceEditField(4);
    RunNameEntry(name, 10);
    EXPECT_EQ(looks, "NPNPNPN");
    EXPECT_STREQ(name, layer ? "Q" : "q");
  }
}

TEST_F(ScreenTest, TheCursorBlinksInTheFieldOnTheNewRow) {
  PlaceEditField(2);
  DrawHighScoreScreen();
  // "ab" in the field at (50, 130), and the cursor after it four draws in eight.
  for (char look : std::string("lll----ll")) {
    DrawEditField("ab");
    EXPECT_TRUE(IsGoldenPicture(look == 'l' ? "entry-cursor" : "entry-no-cursor",
                                EncodeFrame(ShownScreen())));
  }
}
