#include "frontend/keyboard.h"

#include <cstdlib>
#include <cstring>

#include "frontend/focus.h"
#include "frontend/screen_events.h"
#include "platform/host.h"
#include "platform/signals.h"
#include "resources/draw.h"
#include "resources/images.h"

ScreenPoint keyboardOrigin = kKeyboardOrigin;
int32_t largeKeys = 0;
uint8_t shiftPending = 0;

namespace {

constexpr uint32_t kKeyLitMs = 80;  // a key typed on the real keyboard lights this long

// The on-screen key the keys and the pad have walked to; -1 until the first arrow.
int markedKey = -1;

// The keyboard picture of the current layer, pressed or not.
SDL_Surface* KeyboardPicture(bool pressed) {
  if (largeKeys == 1) return Images[pressed ? kKeyboardLargePushed : kKeyboardLarge];
  return Images[pressed ? kKeyboardSmallPushed : kKeyboardSmall];
}

// Draws the focus mark inside the marked key's face, if a key is marked.
void DrawKeyMark() {
  if (markedKey < 0) return;
  const Rect& a = KeyTable[markedKey].area;
  DrawFocusMark(Rect{keyboardOrigin.x + a.left + 3, keyboardOrigin.y + a.top + 3,
                     keyboardOrigin.x + a.right - 3, keyboardOrigin.y + a.bottom - 3});
}

// Copies one key's rectangle from a keyboard picture to its place on the screen.
void ShowKey(SDL_Surface* picture, const Rect& keyArea) {
  BlitImagePart(picture, static_cast<int16_t>(keyboardOrigin.x + keyArea.left),
                static_cast<int16_t>(keyboardOrigin.y + keyArea.top),
                static_cast<uint16_t>(std::abs(keyArea.right - keyArea.left)),
                static_cast<uint16_t>(std::abs(keyArea.bottom - keyArea.top)),
                static_cast<int16_t>(keyArea.left), static_cast<int16_t>(keyArea.top));
  DrawKeyMark();
  FlipScreen();
}

// The key that gives a character in either layer, or -1.
int KeyGiving(int32_t code) {
  for (int i = 0; i < kKeyCount; ++i) {
    if (KeyTable[i].normal == code || KeyTable[i].large == code) return i;
  }
  return -1;
}

// The key the arrows reach from a key: Left and Right go along the row (round at its
// ends), Up and Down to the key of the row above or below nearest to it. The keys that do
// nothing are passed over.
int WalkKeyboard(int from, NavKey key) {
  const Rect& at = KeyTable[from].area;
  const int middle = at.left + at.right;
  int best = from;
  if (key == NavKey::Left || key == NavKey::Right) {
    const int step = key == NavKey::Right ? 1 : kKeyCount - 1;
    for (int i = (from + step) % kKeyCount; i != from; i = (i + step) % kKeyCount) {
      if (KeyTable[i].area.top == at.top && KeyTable[i].normal != kNoActionKey) return i;
    }
    return from;
  }
  // The next row up or down (the nearest key top that way), round from the last to the first:
  // with no row beyond, the farthest row the other way.
  const bool up = key == NavKey::Previous;
  int target = -1;
  for (int round = 0; round < 2 && target < 0; ++round) {
    for (int i = 0; i < kKeyCount; ++i) {
      const int top = KeyTable[i].area.top;
      const bool beyond = up ? top < at.top : top > at.top;
      const bool nearer = target < 0 || (up ? top > target : top < target);
      if (top != at.top && (beyond || round == 1) && nearer) target = top;
    }
  }
  int bestDistance = 1 << 30;
  for (int i = 0; i < kKeyCount; ++i) {
    const Rect& a = KeyTable[i].area;
    if (a.top != target || KeyTable[i].normal == kNoActionKey) continue;
    const int distance = std::abs(a.left + a.right - middle);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

void ToggleLayer() { largeKeys = 1 - largeKeys; }

// Lights a key for a moment, as the real keyboard types its character.
void LightKey(int index) {
  ShowKey(KeyboardPicture(true), KeyTable[index].area);
  HostDelay(kKeyLitMs);
  ShowKey(KeyboardPicture(false), KeyTable[index].area);
}

// A key of the on-screen keyboard applied from the real keyboard or the pad, with the
// whole keyboard drawn again when its layer changed. Returns ApplyKey's result.
int32_t PressKey(int index, int32_t code, char* name, int32_t maxLength) {
  if (code != kEnterKey) LightKey(index);
  const int32_t layer = largeKeys;
  const int32_t result = ApplyKey(code, name, maxLength);
  if (largeKeys != layer) ShowKeyboard();
  return result;
}

}  // namespace

void SetKeyboardOrigin(int32_t x, int32_t y) { keyboardOrigin = {x, y}; }

int32_t FindKey(int32_t x, int32_t y, Rect& keyArea) {
  const int32_t rx = x - keyboardOrigin.x;
  const int32_t ry = y - keyboardOrigin.y;
  for (const KeyboardKey& key : KeyTable) {
    const Rect& a = key.area;
    if (a.left < rx && rx < a.right && a.top < ry && ry < a.bottom) {
      keyArea = a;
      return largeKeys == 1 ? key.large : key.normal;
    }
  }
  return kNoKey;
}

bool TrackKeyPress(const Rect& keyArea) {
  SDL_Surface* const pressed = KeyboardPicture(true);
  SDL_Surface* const normal = KeyboardPicture(false);
  ShowKey(pressed, keyArea);
  bool down = true;
  // The stylus is down: poll without pausing until it lifts.
  SDL_Event event;
  for (;;) {
    if (!PollScreenEvent(event)) continue;
    if (IsEndOfProgram(event)) return false;  // the key is not typed; the entry ends next
    if (event.type == SDL_MOUSEBUTTONUP) break;
    if (event.type != SDL_MOUSEMOTION) continue;
    const bool inside = PtInRect(keyArea, event.motion.x - keyboardOrigin.x,
                                 event.motion.y - keyboardOrigin.y);
    if (inside && !down) {
      ShowKey(pressed, keyArea);
      down = true;
    } else if (!inside && down) {
      ShowKey(normal, keyArea);
      down = false;
    }
  }
  ShowKey(normal, keyArea);
  return down;
}

int32_t ApplyKey(int32_t code, char* name, int32_t maxLength) {
  if (code == kEnterKey) return 1;  // a pending shift stays pending
  if (code == kCapsKey) {
    ToggleLayer();
    return 0;
  }
  if (code == kShiftKey) {
    shiftPending = 1;
    ToggleLayer();
    return 0;
  }
  const int32_t length = static_cast<int32_t>(std::strlen(name));
  if (code == kBackspaceKey) {
    if (length > 0) name[length - 1] = '\0';
  } else if (static_cast<int8_t>(code) >= 30) {
    if (length < maxLength) {
      name[length] = static_cast<char>(code);
      name[length + 1] = '\0';
    }
  }
  if (shiftPending) {
    shiftPending = 0;
    ToggleLayer();
  }
  return 0;
}

void ShowKeyboard() {
  BlitImage(KeyboardPicture(false), static_cast<int16_t>(keyboardOrigin.x),
            static_cast<int16_t>(keyboardOrigin.y));
  DrawKeyMark();
  FlipScreen();
}

void ForgetMarkedKey() { markedKey = -1; }

int32_t TypeOnKeyboard(const SDL_Event& event, char* name, int32_t maxLength) {
  const SDL_keysym& keysym = event.key.keysym;
  switch (keysym.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_ESCAPE:
      return 1;
    case SDLK_BACKSPACE:
      return PressKey(KeyGiving(kBackspaceKey), kBackspaceKey, name, maxLength);
    default:
      break;
  }
  const NavKey key = ReadNavKey(event);
  const bool press = keysym.sym == SDLK_SPACE && keysym.unicode == 0;
  if (key == NavKey::Next || key == NavKey::Previous || key == NavKey::Left ||
      key == NavKey::Right || press) {
    const int from = markedKey;
    if (from < 0) {
      markedKey = KeyGiving('a');
    } else if (press) {
      const KeyboardKey& k = KeyTable[markedKey];
      return PressKey(markedKey, largeKeys == 1 ? k.large : k.normal, name, maxLength);
    } else {
      markedKey = WalkKeyboard(from, keysym.sym == SDLK_TAB ? NavKey::Right : key);
      ShowKey(KeyboardPicture(false), KeyTable[from].area);
    }
    ShowKey(KeyboardPicture(false), KeyTable[markedKey].area);
    return 0;
  }
  const int index = keysym.unicode >= 32 && keysym.unicode <= 126 ? KeyGiving(keysym.unicode) : -1;
  return index < 0 ? 0 : PressKey(index, keysym.unicode, name, maxLength);
}
