// The page's view of the game's 240 x 320 screen: SDL's screen surface is the game's own,
// and each update is drawn into the page's canvas, which the page scales and centres.
#include "platform/window_mode.h"

#include <emscripten.h>

#include <algorithm>

namespace {

constexpr int kGameWidth = 240;
constexpr int kGameHeight = 320;

// Hands a rectangle of the 16-bit (5-6-5) screen to the page's canvas.
EM_JS(void, DrawOnPage, (const void* pixels, int pitch, int x, int y, int w, int h), {
  Module.page.draw(HEAPU16, pixels >> 1, pitch >> 1, x, y, w, h);
});

EM_JS(void, TogglePageFullScreen, (), { Module.page.toggleFullScreen(); });

}  // namespace

void ChooseStartMode(StartMode) {}  // the browser decides; full screen needs a tap or a key

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
  if (left >= right || top >= bottom) return;
  DrawOnPage(screen->pixels, screen->pitch, left, top, right - left, bottom - top);
}

bool ToggleFullScreen() {
  TogglePageFullScreen();
  return true;
}

// The page maps taps to game pixels and takes the switching keys itself.
bool TakeWindowEvent(SDL_Event&) { return false; }
