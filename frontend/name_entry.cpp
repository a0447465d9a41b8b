#include "frontend/name_entry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frontend/focus.h"
#include "frontend/high_scores.h"
#include "frontend/keyboard.h"
#include "frontend/screen_events.h"
#include "game/ship.h"
#include "platform/host.h"
#include "platform/signals.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "settings/settings.h"
#include "text/font.h"

ScreenPoint keyboardOrigin{0, 234};
EditFieldRecord EditField{nullptr, {0, 0, 0, 0}, kFontWhite, 0, 0};
int32_t blinkCounter = 0;

namespace {

constexpr int32_t kNameBufferSize = 20;
constexpr int32_t kNameLimit = 10;
constexpr uint32_t kGameOverMs = 3000;
constexpr uint32_t kEntryPassMs = 10;
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

// Draws the whole keyboard of the current layer and presents the screen.
void ShowKeyboard() {
  BlitImage(KeyboardPicture(false), static_cast<int16_t>(keyboardOrigin.x),
            static_cast<int16_t>(keyboardOrigin.y));
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

// A key pressed on the real keyboard or the pad during the name entry: characters type
// themselves, Backspace deletes, Enter and Escape end the entry; the arrows walk the
// on-screen keyboard and the pad's south button (Space without a character) presses the
// key walked to. Returns 1 when the entry ends.
int32_t TypeKey(const SDL_Event& event, char* name, int32_t maxLength) {
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

void ToggleLayer() { largeKeys = 1 - largeKeys; }

}  // namespace

void SetKeyboardOrigin(int32_t x, int32_t y) { keyboardOrigin = {x, y}; }

void PlaceEditField(int32_t place) {
  SDL_Surface* const box = Images[kEditBox];
  const int32_t y = kTableTop + kTableRowStep * place;
  EditField.image = box;
  EditField.area = {kNameX, y, kNameX + (box ? box->w : 0), y + (box ? box->h : 0)};
  EditField.font = kFontWhite;
  EditField.textX = kNameX;
  EditField.textY = y;
}

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

void DrawEditField(const char* name) {
  blinkCounter += 1;
  // The cursor is the letter l, shown for four calls and hidden for the next four.
  char text[64];
  if ((blinkCounter / 4) % 2 == 0) {
    std::snprintf(text, sizeof text, "%sl", name);
  } else {
    std::snprintf(text, sizeof text, "%s", name);
  }
  SelectFont(EditField.font);
  const Rect& a = EditField.area;
  BlitImagePart(Images[kScores], static_cast<int16_t>(a.left), static_cast<int16_t>(a.top),
                static_cast<uint16_t>(a.right - a.left), static_cast<uint16_t>(a.bottom - a.top),
                static_cast<int16_t>(a.left), static_cast<int16_t>(a.top));
  DrawText(text, EditField.textX, EditField.textY, EditField.font);
  FlipScreen();
}

int32_t RunNameEntry(char* name, int32_t maxLength) {
  SetKeyboardOrigin(kKeyboardX, kKeyboardY);
  markedKey = -1;
  DrawHighScoreScreen();
  // Fire pressed during the ship's explosion and the game-over picture types nothing here,
  // and an Escape pressed then does not end the entry; taps made then count.
  StartScreenInput();
  int32_t result = 0;
  while (result == 0) {
    DrawEditField(name);
    SDL_Event event;
    if (PollScreenEvent(event)) {
      if (event.type == SDL_QUIT) {
        result = 3;
      } else if (event.type == SDL_KEYDOWN) {
        result = TypeKey(event, name, maxLength);
      } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        const int32_t x = event.button.x;
        const int32_t y = event.button.y;
        if (PtInRect(kDoneArea, x, y)) {
          result = 1;  // any button ends the entry here
        } else if (event.button.button == SDL_BUTTON_LEFT) {
          if (PtInRect(EditField.area, x, y)) DrawEditField(name);
          Rect keyArea{0, 0, 0, 0};
          const int32_t code = FindKey(x, y, keyArea);
          if (code != kNoKey && code != kEnterKey) {
            if (TrackKeyPress(keyArea)) {
              result = ApplyKey(code, name, maxLength);
              ShowKeyboard();
            }
          } else {
            // No key or Enter: acts at once. A tap beside the keys ends a pending shift,
            // so the other layer is shown straight away.
            const int32_t layer = largeKeys;
            result = ApplyKey(code, name, maxLength);
            if (largeKeys != layer) ShowKeyboard();
          }
        }
      }
    }
    HostDelay(kEntryPassMs);
  }
  return result;
}

void RunGameOverScreen() {
  SDL_Surface* const picture = Images[kGameOver];
  BlitImage(picture, static_cast<int16_t>(120 - picture->w / 2),
            static_cast<int16_t>(160 - picture->h / 2));
  FlipScreen();
  HostDelay(kGameOverMs);
  EnterHighScore(PlayerShip.score);
}

void EnterHighScore(int32_t score) {
  const int place = HighScorePlace(score);
  if (place < 0) return;
  MakeRoomAt(place);
  // The new row shows the score being entered from the start; its old name stays until the
  // typed one is stored below.
  Settings.highScores[place] = score;

  char name[kNameBufferSize] = {};
  PlaceEditField(place);
  RunNameEntry(name, kNameLimit);

  // Whichever way the entry ended, the name typed so far goes into the table.
  std::memcpy(Settings.highScoreNames[place], name, std::strlen(name) + 1);
  Settings.highScores[place] = score;
  SaveSettings();
}
