#include "platform/screen.h"

#include <algorithm>

namespace {

ScreenOutput* output = nullptr;  // null: the back end's display

}  // namespace

void UseScreenOutput(ScreenOutput* chosen) { output = chosen; }

void PresentScreen(SDL_Surface* screen, const SDL_Rect* area) {
  if (!screen) return;
  const int left = area ? std::max<int>(area->x, 0) : 0;
  const int top = area ? std::max<int>(area->y, 0) : 0;
  const int right = area ? std::min(area->x + area->w, screen->w) : screen->w;
  const int bottom = area ? std::min(area->y + area->h, screen->h) : screen->h;
  if (left >= right || top >= bottom) return;
  (output ? *output : DisplayOutput())
      .Show(screen, SDL_Rect{static_cast<Sint16>(left), static_cast<Sint16>(top),
                             static_cast<Uint16>(right - left), static_cast<Uint16>(bottom - top)});
}
