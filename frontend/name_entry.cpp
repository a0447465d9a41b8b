#include "frontend/name_entry.h"

#include <cstdio>
#include <cstring>

#include "frontend/high_scores.h"
#include "frontend/keyboard.h"
#include "frontend/screen_events.h"
#include "platform/host.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "settings/settings.h"
#include "text/font.h"

EditFieldRecord EditField{nullptr, {0, 0, 0, 0}, kFontWhite, 0, 0};
int32_t blinkCounter = 0;

namespace {

constexpr int32_t kNameBufferSize = 20;
constexpr int32_t kNameLimit = 10;
constexpr uint32_t kEntryPassMs = 10;

}  // namespace

void PlaceEditField(int32_t place) {
  SDL_Surface* const box = Images[kEditBox];
  const int32_t y = kTableTop + kTableRowStep * place;
  EditField.image = box;
  EditField.area = {kNameX, y, kNameX + (box ? box->w : 0), y + (box ? box->h : 0)};
  EditField.font = kFontWhite;
  EditField.textX = kNameX;
  EditField.textY = y;
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
  SetKeyboardOrigin(kKeyboardOrigin.x, kKeyboardOrigin.y);
  ForgetMarkedKey();
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
        result = TypeOnKeyboard(event, name, maxLength);
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
