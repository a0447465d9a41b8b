// The page's view of the game's 240 x 320 screen: SDL's screen surface is the game's own,
// and each update is drawn into the page's canvas, which the page scales and centres. Only
// what changed since the last update reaches the canvas: some screens show the whole screen
// a hundred times a second to blink a cursor.
#include "platform/window_mode.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kGameWidth = 240;
constexpr int kGameHeight = 320;

uint16_t shown[kGameHeight][kGameWidth];  // what the canvas shows

// Hands a rectangle of the 16-bit (5-6-5) screen to the page's canvas.
// clang-format off
EM_JS(void, DrawOnPage, (const void* pixels, int pitch, int x, int y, int w, int h), {
  Module.page.draw(HEAPU16, pixels >> 1, pitch >> 1, x, y, w, h);
});
// clang-format on

}  // namespace

SDL_Surface* OpenGameScreen() {
  SDL_Surface* screen = SDL_SetVideoMode(kGameWidth, kGameHeight, 16, SDL_SWSURFACE);
  return screen && screen->format->BytesPerPixel == 2 ? screen : nullptr;
}

void PresentScreen(SDL_Surface* screen, const SDL_Rect* area) {
  if (!screen || screen != SDL_GetVideoSurface()) return;
  const int left = area ? std::max<int>(area->x, 0) : 0;
  const int top = area ? std::max<int>(area->y, 0) : 0;
  const int right = area ? std::min(area->x + area->w, kGameWidth) : kGameWidth;
  const int bottom = area ? std::min(area->y + area->h, kGameHeight) : kGameHeight;
  // The rectangle around the pixels that changed, which the canvas copy then takes on.
  int changedLeft = right, changedRight = left, changedTop = bottom, changedBottom = top;
  for (int y = top; y < bottom; ++y) {
    const auto* row = reinterpret_cast<const uint16_t*>(
        static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch);
    uint16_t* copy = shown[y];
    if (std::memcmp(row + left, copy + left, (right - left) * sizeof(uint16_t)) == 0) continue;
    int first = left;
    while (row[first] == copy[first]) ++first;
    int last = right - 1;
    while (row[last] == copy[last]) --last;
    std::memcpy(copy + first, row + first, (last + 1 - first) * sizeof(uint16_t));
    changedLeft = std::min(changedLeft, first);
    changedRight = std::max(changedRight, last + 1);
    changedTop = std::min(changedTop, y);
    changedBottom = y + 1;
  }
  if (changedLeft >= changedRight) return;
  DrawOnPage(screen->pixels, screen->pitch, changedLeft, changedTop, changedRight - changedLeft,
             changedBottom - changedTop);
}

// The page maps taps to game pixels and takes the full screen's keys itself (browsers allow
// the full screen only on a tap or a key, so it is neither switched from here nor restored).
bool TakeWindowEvent(SDL_Event&) { return false; }
