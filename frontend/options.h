// The options screen: difficulty and sound, marked with the radio picture.
#pragma once

// x of the radio mark and the rows of the five choices: difficulty 0, 1, 2, sound on, off.
constexpr int kRadioX = 21;
constexpr int kRadioRows[5] = {81, 108, 136, 210, 244};

// Runs the screen until the back button (1) or an SDL_QUIT event (3); saves the settings on
// either way out. Called by the main menu, which ignores the result.
int RunOptionsScreen();

// Draws options.bmp and the marks for the current Settings, and flips. Used after every event.
void DrawOptionsScreen();
