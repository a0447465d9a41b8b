// The high-score screen: the table of the five best, with a reset behind a confirmation.
#pragma once

// Where the table's rows are written: text tops 86 + 22 i; number, name and score columns.
constexpr int kTableTop = 86;
constexpr int kTableRowStep = 22;
constexpr int kPlaceNumberX = 25;
constexpr int kNameX = 50;
constexpr int kScoreX = 150;

// Runs the screen until its back button (1) or an SDL_QUIT event (3). Called by the menu.
int RunHighScoreScreen();

// Draws scores.bmp, the keyboard picture for the current largeKeys and the five rows from
// Settings, and flips. Used by this screen and by the name entry.
void DrawHighScoreScreen();
