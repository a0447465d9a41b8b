#include "frontend/info_screens.h"

#include "frontend/focus.h"
#include "frontend/screen_events.h"
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
// Where the focus mark goes on the help screen's painted buttons, in screen order: the
// parts of Previous and Close that do not overlap, and Next.
enum HelpButton { kPreviousButton, kCloseButton, kNextButton };
constexpr Rect kHelpMarks[] = {{50, 288, 95, 318}, {110, 290, 146, 318}, {160, 288, 219, 318}};

// Shows the page; with the mark showing, the whole screen is drawn again to move it.
void ShowHelpPage(int marked) {
  if (marked >= 0) BlitImage(Images[kHelp], 0, 0);
  HelpBox.DrawBox();
  if (marked >= 0) DrawFocusMark(kHelpMarks[marked]);
  FlipScreen();
}

// Runs a screen with only buttons: taps on their areas or the keys on their marks. Returns
// the index of the button pressed (Escape: the back button, index 0), or -1 for SDL_QUIT.
int RunButtonScreen(ImageId background, const Rect* areas, int count) {
  BlitImage(Images[background], 0, 0);
  FlipScreen();
  StartScreenInput();  // an Escape pressed before the screen showed does not close it
  int marked = -1;
  for (;;) {
    SDL_Event event;
    WaitForScreenEvent(event);
    if (event.type == SDL_QUIT) return -1;
    if (event.type == SDL_MOUSEBUTTONDOWN) {
      // Later buttons first: on the about screen Support wins over Back.
      for (int i = count - 1; i >= 0; --i) {
        if (PtInRect(areas[i], event.button.x, event.button.y)) return i;
      }
      continue;
    }
    const NavKey key = AlongRow(ReadNavKey(event));
    if (MoveFocus(marked, count, key)) {
      BlitImage(Images[background], 0, 0);
      FlipScreen();
      ShowFocusMark(areas, marked);
    } else if (key == NavKey::Back) {
      return 0;
    } else if (key == NavKey::Press) {
      return marked;
    }
  }
}

}  // namespace

int RunHelpScreen() {
  BlitImage(Images[kHelp], 0, 0);
  int marked = -1;
  ShowHelpPage(marked);
  StartScreenInput();  // an arrow pressed before the help showed turns no page
  bool done = false;
  while (!done) {
    SDL_Event event;
    WaitForScreenEvent(event);
    if (event.type == SDL_QUIT) return kScreenQuitEvent;
    bool previous = false, next = false, close = false;
    if (event.type == SDL_MOUSEBUTTONDOWN) {
      const int32_t x = event.button.x;
      const int32_t y = event.button.y;
      previous = PtInRect(kPreviousArea, x, y);
      next = PtInRect(kNextArea, x, y);
      close = PtInRect(kCloseArea, x, y);
    } else if (const NavKey key = ReadNavKey(event); key == NavKey::Left || key == NavKey::Right) {
      // The arrows turn the pages whether or not the mark shows.
      previous = key == NavKey::Left;
      next = key == NavKey::Right;
    } else if (MoveFocus(marked, 3, key)) {
      ShowHelpPage(marked);
    } else {
      close = key == NavKey::Back || (key == NavKey::Press && marked == kCloseButton);
      previous = key == NavKey::Press && marked == kPreviousButton;
      next = key == NavKey::Press && marked == kNextButton;
    }
    if (previous) {
      HelpBox.PreviousPage();
      ShowHelpPage(marked);
    }
    if (next) {
      HelpBox.NextPage();
      if (HelpBox.currentPage == kPageThatCloses) {
        HelpBox.currentPage = 0;
        done = true;
      }
      ShowHelpPage(marked);
    }
    if (close) {
      HelpBox.currentPage = 0;
      done = true;
    }
  }
  return kScreenClosed;
}

int RunAboutScreen() {
  const Rect buttons[2] = {kInfoBackArea, kSupportArea};
  switch (RunButtonScreen(kAbout, buttons, 2)) {
    case -1:
      return kScreenQuitEvent;
    case 1:
      return kSupportWanted;
    default:
      return kScreenClosed;
  }
}

int RunSupportScreen() {
  return RunButtonScreen(kSupport, &kInfoBackArea, 1) < 0 ? kScreenQuitEvent : kScreenClosed;
}
