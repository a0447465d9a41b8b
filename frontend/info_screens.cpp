#include "frontend/info_screens.h"

#include "frontend/menu.h"
#include "platform/rect.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "text/textbox.h"

namespace {

constexpr Rect kPreviousArea{50, 288, 109, 323};
constexpr Rect kNextArea{160, 288, 219, 323};
constexpr Rect kCloseArea{95, 290, 146, 318};  // overlaps Previous: a tap there does both
constexpr Rect kInfoBackArea{4, 288, 68, 313};
constexpr Rect kSupportArea{80, 288, 163, 314};
// The help text shows pages 0 to 3; turning on to page 4 closes the screen.
constexpr int16_t kPageThatCloses = 4;

void ShowHelpPage() {
  HelpBox.DrawBox();
  FlipScreen();
}

}  // namespace

int RunHelpScreen() {
  BlitImage(Images[kHelp], 0, 0);
  ShowHelpPage();
  bool done = false;
  while (!done) {
    SDL_Event event;
    WaitForScreenEvent(event);
    if (event.type == SDL_QUIT) return kScreenQuitEvent;
    if (event.type != SDL_MOUSEBUTTONDOWN) continue;
    const int32_t x = event.button.x;
    const int32_t y = event.button.y;
    if (PtInRect(kPreviousArea, x, y)) {
      HelpBox.PreviousPage();
      ShowHelpPage();
    }
    if (PtInRect(kNextArea, x, y)) {
      HelpBox.NextPage();
      if (HelpBox.currentPage == kPageThatCloses) {
        HelpBox.currentPage = 0;
        done = true;
      }
      ShowHelpPage();
    }
    if (PtInRect(kCloseArea, x, y)) {
      HelpBox.currentPage = 0;
      done = true;
    }
  }
  return kScreenClosed;
}

int RunAboutScreen() {
  BlitImage(Images[kAbout], 0, 0);
  FlipScreen();
  for (;;) {
    SDL_Event event;
    WaitForScreenEvent(event);
    if (event.type == SDL_QUIT) return kScreenQuitEvent;
    if (event.type != SDL_MOUSEBUTTONDOWN) continue;
    if (PtInRect(kSupportArea, event.button.x, event.button.y)) return kSupportWanted;
    if (PtInRect(kInfoBackArea, event.button.x, event.button.y)) return kScreenClosed;
  }
}

int RunSupportScreen() {
  BlitImage(Images[kSupport], 0, 0);
  FlipScreen();
  for (;;) {
    SDL_Event event;
    WaitForScreenEvent(event);
    if (event.type == SDL_QUIT) return kScreenQuitEvent;
    if (event.type == SDL_MOUSEBUTTONDOWN && PtInRect(kInfoBackArea, event.button.x, event.button.y)) {
      return kScreenClosed;
    }
  }
}
