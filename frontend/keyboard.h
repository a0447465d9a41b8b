// The on-screen keyboard of the name entry: its two layers of 55 keys, the key under a point,
// a key pressed with the stylus, the real keyboard's and the pad's keys walking and pressing
// it, and what a key does to the name. Its state lives for the whole run: the layer carries
// over between entries and shows on the high-score screen too.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

#include "platform/rect.h"

// Key codes other than the characters 32..126.
constexpr int8_t kNoKey = 0;
constexpr int8_t kCapsKey = 3;
constexpr int8_t kNoActionKey = 4;
constexpr int8_t kShiftKey = 5;
constexpr int8_t kEnterKey = 10;
constexpr int8_t kBackspaceKey = 26;

// One key of the keyboard picture: its area relative to the keyboard origin and the code it
// gives in the small-key (normal) and large-key layers.
struct KeyboardKey {
  Rect area;
  int8_t normal;
  int8_t large;
};

constexpr int kKeyCount = 55;

// Every key in search order, row by row from left to right. Neighbouring keys share their
// edge pixel; FindKey's strict comparisons give each point at most one key. Read by FindKey
// and by the tests.
inline constexpr KeyboardKey KeyTable[] = {
    // Row 0: top 0, bottom 18.
    {{0, 0, 18, 18}, '`', '~'},
    {{17, 0, 35, 18}, '1', '!'},
    {{34, 0, 52, 18}, '2', '@'},
    {{51, 0, 69, 18}, '3', '#'},
    {{68, 0, 86, 18}, '4', '$'},
    {{85, 0, 103, 18}, '5', '%'},
    {{102, 0, 120, 18}, '6', '^'},
    {{119, 0, 137, 18}, '7', '&'},
    {{136, 0, 154, 18}, '8', '*'},
    {{153, 0, 171, 18}, '9', '('},
    {{170, 0, 188, 18}, '0', ')'},
    {{187, 0, 205, 18}, '-', '_'},
    {{204, 0, 222, 18}, '=', '+'},
    {{221, 0, 240, 18}, kBackspaceKey, kBackspaceKey},
    // Row 1: top 17, bottom 35.
    {{0, 17, 24, 35}, '\\', '|'},
    {{23, 17, 41, 35}, 'q', 'Q'},
    {{40, 17, 58, 35}, 'w', 'W'},
    {{57, 17, 75, 35}, 'e', 'E'},
    {{74, 17, 92, 35}, 'r', 'R'},
    {{91, 17, 109, 35}, 't', 'T'},
    {{108, 17, 126, 35}, 'y', 'Y'},
    {{125, 17, 143, 35}, 'u', 'U'},
    {{142, 17, 160, 35}, 'i', 'I'},
    {{159, 17, 177, 35}, 'o', 'O'},
    {{176, 17, 194, 35}, 'p', 'P'},
    {{193, 17, 217, 35}, '[', '{'},
    {{216, 17, 240, 35}, ']', '}'},
    // Row 2: top 34, bottom 51; its Enter key reaches down to 52.
    {{0, 34, 30, 51}, kCapsKey, kCapsKey},
    {{29, 34, 47, 51}, 'a', 'A'},
    {{46, 34, 64, 51}, 's', 'S'},
    {{63, 34, 81, 51}, 'd', 'D'},
    {{80, 34, 98, 51}, 'f', 'F'},
    {{97, 34, 115, 51}, 'g', 'G'},
    {{114, 34, 132, 51}, 'h', 'H'},
    {{131, 34, 149, 51}, 'j', 'J'},
    {{148, 34, 166, 51}, 'k', 'K'},
    {{165, 34, 183, 51}, 'l', 'L'},
    {{182, 34, 200, 51}, ';', ':'},
    {{199, 34, 217, 51}, '\'', '"'},
    {{216, 34, 240, 52}, kEnterKey, kEnterKey},
    // Row 3: top 51, bottom 68.
    {{0, 51, 36, 68}, kShiftKey, kShiftKey},
    {{35, 51, 53, 68}, 'z', 'Z'},
    {{52, 51, 70, 68}, 'x', 'X'},
    {{69, 51, 87, 68}, 'c', 'C'},
    {{86, 51, 104, 68}, 'v', 'V'},
    {{103, 51, 121, 68}, 'b', 'B'},
    {{120, 51, 138, 68}, 'n', 'N'},
    {{137, 51, 155, 68}, 'm', 'M'},
    {{154, 51, 172, 68}, ',', '<'},
    {{171, 51, 189, 68}, '.', '>'},
    {{188, 51, 206, 68}, '/', '?'},
    {{205, 51, 240, 68}, kEnterKey, kEnterKey},
    // Row 4: top 68, bottom 86.
    {{0, 68, 36, 86}, kNoActionKey, kNoActionKey},
    {{35, 68, 205, 86}, ' ', ' '},
    {{204, 68, 240, 86}, kNoActionKey, kNoActionKey},
};
static_assert(sizeof KeyTable / sizeof KeyTable[0] == kKeyCount, "the keyboard has 55 keys");

// A point on the screen.
struct ScreenPoint {
  int32_t x, y;
};

// Where the keyboard picture's top-left corner lies on the screen, under the high-score table:
// the same place on the high-score screen and in the name entry.
constexpr ScreenPoint kKeyboardOrigin{0, 234};

// Where the keyboard's keys are found; kKeyboardOrigin from the name entry's start.
extern ScreenPoint keyboardOrigin;
// 0 shows the small keys and takes normal codes, 1 the large keys and large codes.
extern int32_t largeKeys;
// A one-shot Shift is waiting for the next key.
extern uint8_t shiftPending;

// Sets the keyboard origin. Called by RunNameEntry before it draws.
void SetKeyboardOrigin(int32_t x, int32_t y);

// The code of the key under a screen point (0 for none; the large code while largeKeys is
// 1), with the key's area relative to the keyboard origin. Called by RunNameEntry.
int32_t FindKey(int32_t x, int32_t y, Rect& keyArea);

// Shows the key pressed while the stylus stays on it and waits for the stylus to lift;
// true when it was lifted on the key. Called by RunNameEntry for every key but Enter.
bool TrackKeyPress(const Rect& keyArea);

// Applies a key to the name: 1 for Enter, else 0. Caps and Shift switch the layer, a
// pending shift ends after any other key. Called by RunNameEntry.
int32_t ApplyKey(int32_t code, char* name, int32_t maxLength);

// Draws the whole keyboard of the current layer (with the focus mark on the key walked to)
// and presents the screen. Called by RunNameEntry after a key changed the layer.
void ShowKeyboard();

// Hides the focus mark until the next arrow. Called by RunNameEntry as it starts.
void ForgetMarkedKey();

// A key pressed on the real keyboard or the pad during the name entry: characters type
// themselves (their key lights for a moment), Backspace deletes, Enter and Escape end the
// entry; the arrows walk the on-screen keyboard and the pad's south button (Space without a
// character) presses the key walked to. Returns 1 when the entry ends. Called by
// RunNameEntry for every key-down.
int32_t TypeOnKeyboard(const SDL_Event& event, char* name, int32_t maxLength);
