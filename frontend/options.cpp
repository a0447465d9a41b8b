#include "frontend/options.h"

#include <algorithm>

#include "frontend/focus.h"
#include "frontend/screen_events.h"
#include "platform/rect.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "settings/settings.h"

namespace {

constexpr Rect kBackArea{6, 290, 57, 318};
enum Row { kDifficulty0, kDifficulty1, kDifficulty2, kSoundOn, kSoundOff, kRowCount };
static_assert(sizeof kRadioRows / sizeof kRadioRows[0] == kRowCount);

void ApplyRow(int row) {
  switch (row) {
    case kDifficulty0:
    case kDifficulty1:
    case kDifficulty2:
      Settings.difficulty = static_cast<int16_t>(row - kDifficulty0);
      break;
    case kSoundOn:
      Settings.soundOn = 1;
      break;
    case kSoundOff:
      Settings.soundOn = 0;
      break;
  }
}

// The row a choice moves to by Left (-1) or Right (+1), staying within its group.
int NeighbourRow(int row, int step) {
  if (row <= kDifficulty2) return std::clamp(row + step, int{kDifficulty0}, int{kDifficulty2});
  if (row <= kSoundOff) return std::clamp(row + step, int{kSoundOn}, int{kSoundOff});
  return row;
}

}  // namespace

void DrawOptionsScreen() {
  BlitImage(Images[kOptions], 0, 0);
  // A difficulty outside 0..2 (kept from the file) shows no mark until a row is tapped.
  if (Settings.difficulty >= 0 && Settings.difficulty <= 2) {
    BlitImage(Images[kRadio], kRadioX, static_cast<int16_t>(kRadioRows[kDifficulty0 + Settings.difficulty]));
  }
  BlitImage(Images[kRadio], kRadioX, static_cast<int16_t>(kRadioRows[Settings.soundOn ? kSoundOn : kSoundOff]));
  FlipScreen();
}

int RunOptionsScreen() {
  const SDL_Surface* radio = Images[kRadio];
  Rect rows[kRowCount];
  for (int row = 0; row < kRowCount; ++row) {
    rows[row] = Rect{kRadioX, kRadioRows[row], kRadioX + radio->w, kRadioRows[row] + radio->h};
  }
  // The focus mark takes in a row's label too; the last place is the back button.
  constexpr int kLabelWidth = 80;
  Rect marks[kRowCount + 1];
  for (int row = 0; row < kRowCount; ++row) {
    marks[row] = Rect{rows[row].left, rows[row].top, rows[row].left + kLabelWidth, rows[row].bottom};
  }
  marks[kRowCount] = kBackArea;
  int marked = -1;
  int result = 0;
  DrawOptionsScreen();
  StartScreenInput();
  while (result == 0) {
    SDL_Event event;
    WaitForScreenEvent(event);
    if (event.type == SDL_MOUSEBUTTONDOWN) {
      const int32_t x = event.button.x;
      const int32_t y = event.button.y;
      if (PtInRect(kBackArea, x, y)) result = kScreenClosed;
      for (int row = 0; row < kRowCount; ++row) {
        if (PtInRect(rows[row], x, y)) ApplyRow(row);
      }
    } else if (event.type == SDL_QUIT) {
      result = kScreenQuitEvent;
    } else if (const NavKey key = ReadNavKey(event); !MoveFocus(marked, kRowCount + 1, key)) {
      // Enter takes the marked choice, Left and Right the one before or after it.
      if (key == NavKey::Left) marked = NeighbourRow(marked, -1);
      if (key == NavKey::Right) marked = NeighbourRow(marked, 1);
      if (key == NavKey::Press || key == NavKey::Left || key == NavKey::Right) ApplyRow(marked);
      if (key == NavKey::Back || (key == NavKey::Press && marked == kRowCount)) result = kScreenClosed;
    }
    DrawOptionsScreen();
    if (result == 0) ShowFocusMark(marks, marked);
  }
  SaveSettings();
  return result;
}
