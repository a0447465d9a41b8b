// The name entry over the high-score table: the edit field on the new place's row, typed on
// the on-screen keyboard (frontend/keyboard.h), and the insertion of a final score into the
// table.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

#include "platform/rect.h"

// The name's edit field on the table row of the new place.
struct EditFieldRecord {
  SDL_Surface* image;  // editbox.bmp: only its width and height are used
  Rect area;           // the rectangle restored from scores.bmp on every redraw
  int32_t font;        // the image index of the font the name is written in
  int32_t textX, textY;  // where the name is written, as on the high-score screen
};

// The one edit field, placed by EnterHighScore (PlaceEditField) before the entry runs.
extern EditFieldRecord EditField;

// Counts DrawEditField calls for the cursor blink; the game never resets it.
extern int32_t blinkCounter;

// The Done area of the name entry (the high-score screen's back button).
constexpr Rect kDoneArea{20, 209, 65, 229};

// Puts the edit field on the table row of a place 0..4. Called by EnterHighScore.
void PlaceEditField(int32_t place);

// One blink step of the edit field: restores its rectangle, writes the name with or without
// the "l" cursor and presents the screen. Called on every pass of RunNameEntry.
void DrawEditField(const char* name);

// The name entry over the high-score table: returns 1 when ended by Done or Enter, 3 when
// ended by a quit event. The name is a zero-filled buffer that receives at most maxLength
// characters. Called by EnterHighScore.
int32_t RunNameEntry(char* name, int32_t maxLength);

// Puts a final score into the table when it earns a place: moves the lower places down,
// runs the name entry on the new row, stores the name and score, and saves the settings
// (a save that fails says so and the table stays in memory). Called by RunGameOverScreen.
void EnterHighScore(int32_t score);
