#include "frontend/menu.h"

#include <initializer_list>

#include "frontend/focus.h"
#include "frontend/high_scores.h"
#include "frontend/info_screens.h"
#include "frontend/options.h"
#include "frontend/screen_events.h"
#include "resources/draw.h"
#include "resources/images.h"

void DrawMainMenu(bool gameInProgress) {
  BlitImage(Images[kMainMenu], 0, 0);
  if (gameInProgress) BlitImage(Images[kResumeButton], kResumeX, kResumeY);
  FlipScreen();
}

FlowCode RunMainMenu(bool gameInProgress) {
  const SDL_Surface* resume = Images[kResumeButton];
  const Rect resumeArea{kResumeX, kResumeY, kResumeX + resume->w, kResumeY + resume->h};
  DrawMainMenu(gameInProgress);

  // The buttons in screen order for the keys and the pad: Resume on top while it shows.
  Rect buttons[7];
  int count = 0;
  if (gameInProgress) buttons[count++] = resumeArea;
  for (const Rect& area :
       {kNewGameArea, kOptionsArea, kHelpArea, kHighScoresArea, kAboutArea, kExitArea}) {
    buttons[count++] = area;
  }
  int marked = -1;

  // Taps and keys made before the menu showed are not acted on.
  DropWaitingEvents();

  SDL_Event event;
  for (;;) {
    WaitForScreenEvent(event);
    if (event.type == SDL_QUIT) return Quit;
    int32_t x = 0;
    int32_t y = 0;
    if (event.type == SDL_MOUSEBUTTONDOWN) {
      x = event.button.x;
      y = event.button.y;
    } else if (event.type == SDL_KEYDOWN) {
      const NavKey key = ReadNavKey(event);
      if (MoveFocus(marked, count, key)) {
        DrawMainMenu(gameInProgress);
        ShowFocusMark(buttons, marked);
        continue;
      }
      // Escape goes back to the paused game, as the pad's Start button left it.
      if (key == NavKey::Back && gameInProgress) return Resume;
      if (key != NavKey::Press) continue;
      // Enter presses the marked button as a tap on its middle would.
      TapPointOf(buttons[marked], x, y);
    } else {
      continue;
    }
    if (PtInRect(kNewGameArea, x, y)) return NewGame;
    if (PtInRect(kExitArea, x, y)) return Quit;
    if (PtInRect(kOptionsArea, x, y)) {
      RunOptionsScreen();
    } else if (PtInRect(kHelpArea, x, y)) {
      RunHelpScreen();
    } else if (PtInRect(kAboutArea, x, y)) {
      // The support screen's back button leads here, not to the about screen.
      if (RunAboutScreen() == kSupportWanted) RunSupportScreen();
    } else if (PtInRect(kHighScoresArea, x, y)) {
      RunHighScoreScreen();
    } else if (PtInRect(resumeArea, x, y)) {
      if (gameInProgress) return Resume;
      continue;
    } else {
      continue;
    }
    DrawMainMenu(gameInProgress);
    ShowFocusMark(buttons, marked);
    StartScreenInput();  // the keys pressed while the sub-screen closed are not for the menu
  }
}
