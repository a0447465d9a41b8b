// Modal message boxes: the handheld's OK and Yes/No boxes.
#pragma once

// Box styles and answers, with the handheld's values.
enum MessageStyle : int { MB_OK = 0, MB_YESNO = 4 };
enum MessageAnswer : int { IDOK = 1, IDYES = 6, IDNO = 7 };

class MessageBoxHandler {
 public:
  virtual ~MessageBoxHandler() = default;
  // Shows the box until it is answered and returns the answer.
  virtual int Show(const char* text, const char* caption, int style) = 0;
};

// Chooses how boxes are shown: the front end installs the drawn box once the screen and the
// font exist; tests install a scripted answerer. Null restores standard error.
void UseMessageBoxHandler(MessageBoxHandler* handler);

// Shows a box through the chosen handler. Before any handler is installed the message goes
// to standard error and the answer is IDOK for MB_OK, IDNO for MB_YESNO.
int ShowMessageBox(const char* text, const char* caption, int style);

// Ends the program in an orderly way: the message (through ShowMessageBox, caption "Error"),
// then exit status 1. Used for damaged data that the game cannot run without.
[[noreturn]] void StopWithMessage(const char* text);
