// The page's view of the game's 240 x 320 screen: SDL's screen surface is the game's own,
// and each update is drawn into the page's canvas, which the page scales and centres. Only
// what changed since the last update reaches the canvas: some screens show the whole screen
// a hundred times a second to blink a cursor.
#include "platform/screen.h"

#include "platform/screen_changes.h"
#include "platform/web/page.h"

namespace {

class Canvas final : public ScreenOutput {
 public:
  void Show(SDL_Surface* screen, const SDL_Rect& area) override {
    if (screen != SDL_GetVideoSurface()) return;
    const ChangedBands changes = TakeChanges(shown, screen, area);
    for (int i = 0; i < changes.count; ++i) {
      const SDL_Rect& band = changes.band[i];
      DrawOnPage(screen->pixels, screen->pitch, band.x, band.y, band.w, band.h);
    }
  }

 private:
  ShownCopy shown;  // what the canvas shows
};

Canvas canvas;

}  // namespace

SDL_Surface* OpenGameScreen() {
  SDL_Surface* screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, SDL_SWSURFACE);
  // Without a system cursor SDL 1.2 draws its own into the screen surface wherever the pointer
  // moves. The page shows the browser's; the game's surface holds the game's pictures alone,
  // as on the desktop (a replay's checkpoints compare them).
  SDL_ShowCursor(SDL_DISABLE);
  return screen && screen->format->BytesPerPixel == 2 ? screen : nullptr;
}

ScreenOutput& DisplayOutput() { return canvas; }

// The page maps taps to game pixels and takes the full screen's keys itself (browsers allow
// the full screen only on a tap or a key, so the page switches it; see PageFullScreen).
bool TakeWindowEvent(SDL_Event&) { return false; }
