// The message box drawn over the game's own screen, in its own font and colours: the
// desktop stand-in for the handheld's modal OK and Yes/No boxes.
#pragma once
#include <cstdint>

#include "platform/rect.h"

constexpr int kMessageMaxLines = 12;   // text lines beyond these are not shown
constexpr int kMessageBoxWidth = 200;  // the panel is centred on the 240 x 320 screen

// One wrapped line of a message: `length` bytes from `start`.
struct MessageLine {
  const char* start;
  int32_t length;
};

// Where everything of one box lies on the screen.
struct MessageBoxLayout {
  Rect panel;          // the whole framed panel
  Rect title;          // the caption's bar
  int32_t textTop;     // top of the first text line
  int32_t lineStep;    // from one text line to the next
  int32_t lineCount;   // lines of wrapped text
  MessageLine lines[kMessageMaxLines];
  int32_t buttonCount;  // 1 for MB_OK, 2 for MB_YESNO
  Rect buttons[2];      // OK alone, or Yes then No
};

// Breaks a text into lines no wider than maxWidth in the current font: at spaces, and always
// at '\n'; a word wider than a line is cut where it has to be. Returns the number of lines
// (at most maxLines). Used by LayOutMessageBox.
int32_t WrapMessageText(const char* text, int32_t maxWidth, MessageLine* lines, int32_t maxLines);

// Width in pixels of `length` bytes of text in the current font (spaces 4, no glyph 0).
int32_t MeasureText(const char* text, int32_t length);

// Selects the white font and lays out a box for a text and a style (MB_OK or MB_YESNO).
// Used by the drawn box and by its tests.
MessageBoxLayout LayOutMessageBox(const char* text, int style);

// Installs the drawn box as the handler of ShowMessageBox. Called by RunGame once the font
// (Images[38]) is loaded; until then messages go to standard error.
void InstallDrawnMessageBox();
