#include "frontend/high_scores.h"

#include <cstdio>
#include <cstring>

#include "frontend/focus.h"
#include "frontend/keyboard.h"
#include "frontend/screen_events.h"
#include "platform/message_box.h"
#include "platform/rect.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "settings/settings.h"
#include "text/font.h"

namespace {

constexpr Rect kBackArea{20, 209, 65, 229};
constexpr Rect kResetArea{123, 209, 200, 229};

}  // namespace

void DrawHighScoreScreen() {
  SelectFont(kFontWhite);
  BlitImage(Images[kScores], 0, 0);
  // The keyboard picture under the table (its keys work only in the name entry).
  BlitImage(Images[largeKeys ? kKeyboardLarge : kKeyboardSmall], kKeyboardOrigin.x, kKeyboardOrigin.y);
  for (int place = 0; place < kHighScorePlaces; ++place) {
    const int32_t y = kTableTop + kTableRowStep * place;
    // A name read from the file may fill its whole field: draw at most the field.
    char name[kNameFieldSize + 1];
    std::memcpy(name, Settings.highScoreNames[place], kNameFieldSize);
    name[kNameFieldSize] = 0;
    DrawText(name, kNameX, y, kFontWhite);
    char number[16];
    if (Settings.highScores[place] != 0) {
      std::snprintf(number, sizeof number, "%d", static_cast<int>(Settings.highScores[place]));
      DrawText(number, kScoreX, y, kFontWhite);
    }
    std::snprintf(number, sizeof number, "%d", place + 1);
    DrawText(number, kPlaceNumberX, y, kFontWhite);
  }
  FlipScreen();
}

int RunHighScoreScreen() {
  DrawHighScoreScreen();
  StartScreenInput();
  const Rect buttons[2] = {kBackArea, kResetArea};  // screen order for the keys
  int marked = -1;
  for (;;) {
    SDL_Event event;
    WaitForScreenEvent(event);
    if (event.type == SDL_QUIT) return kScreenQuitEvent;
    int32_t x = 0;
    int32_t y = 0;
    if (event.type == SDL_MOUSEBUTTONDOWN) {
      x = event.button.x;
      y = event.button.y;
    } else if (const NavKey key = AlongRow(ReadNavKey(event)); MoveFocus(marked, 2, key)) {
      DrawHighScoreScreen();
      ShowFocusMark(buttons, marked);
      continue;
    } else if (key == NavKey::Back) {
      return kScreenClosed;
    } else if (key == NavKey::Press) {
      // As a tap on the marked button's middle.
      TapPointOf(buttons[marked], x, y);
    } else {
      continue;
    }
    const bool back = PtInRect(kBackArea, x, y);
    if (PtInRect(kResetArea, x, y)) {
      if (ShowMessageBox("Do you really want to reset your high scores?", "Reset High Scores?",
                         MB_YESNO) == IDYES) {
        ResetHighScores();
      }
      // Saved whatever the answer.
      DrawHighScoreScreen();
      ShowFocusMark(buttons, marked);
      SaveSettings();
    }
    if (back) return kScreenClosed;
  }
}
