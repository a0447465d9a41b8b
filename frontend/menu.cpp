#include "frontend/menu.h"

#include "frontend/high_scores.h"
#include "frontend/info_screens.h"
#include "frontend/options.h"
#include "platform/host.h"
#include "resources/draw.h"
#include "resources/images.h"

void WaitForScreenEvent(SDL_Event& event) {
  if (!HostWaitEvent(&event)) event.type = SDL_QUIT;
}

void DrawMainMenu(bool gameInProgress) {
  BlitImage(Images[kMainMenu], 0, 0);
  if (gameInProgress) BlitImage(Images[kResumeButton], kResumeX, kResumeY);
  FlipScreen();
}

FlowCode RunMainMenu(bool gameInProgress) {
  const SDL_Surface* resume = Images[kResumeButton];
  const Rect resumeArea{kResumeX, kResumeY, kResumeX + resume->w, kResumeY + resume->h};
  DrawMainMenu(gameInProgress);

  // Taps made before the menu showed are not acted on.
  SDL_Event event;
  while (HostPollEvent(&event)) {
  }

  for (;;) {
    WaitForScreenEvent(event);
    if (event.type == SDL_QUIT) return Quit;
    if (event.type != SDL_MOUSEBUTTONDOWN) continue;
    const int32_t x = event.button.x;
    const int32_t y = event.button.y;
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
  }
}
