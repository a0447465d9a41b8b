// The main menu, the hub of the front end.
#pragma once
#include "game/flow_code.h"
#include "platform/rect.h"

// Touch areas of the menu's painted buttons; Resume is measured from but_resume.bmp.
constexpr Rect kNewGameArea{37, 60, 204, 83};
constexpr Rect kOptionsArea{37, 94, 204, 117};
constexpr Rect kHelpArea{37, 127, 204, 150};
constexpr Rect kHighScoresArea{37, 157, 204, 180};
constexpr Rect kAboutArea{37, 195, 204, 218};
constexpr Rect kExitArea{37, 228, 204, 251};
constexpr int kResumeX = 55;
constexpr int kResumeY = 24;

// Runs the menu until the player starts a game, resumes one (only with gameInProgress),
// or quits. Called by RunGame at start, after a game over and when play opens the menu.
FlowCode RunMainMenu(bool gameInProgress);

// Draws main.bmp, the Resume button while a game is in progress, and flips. Used by
// RunMainMenu on entry and after every sub-screen.
void DrawMainMenu(bool gameInProgress);
