#include "platform/message_box.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

class StandardErrorBox final : public MessageBoxHandler {
 public:
  int Show(const char* text, const char* caption, int style) override {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return style == MB_YESNO ? IDNO : IDOK;
  }
};

StandardErrorBox standardError;
MessageBoxHandler* handler = &standardError;

}  // namespace

void UseMessageBoxHandler(MessageBoxHandler* chosen) { handler = chosen ? chosen : &standardError; }

int ShowMessageBox(const char* text, const char* caption, int style) {
  return handler->Show(text, caption, style);
}

void StopWithMessage(const char* text) {
  // The message always reaches standard error too, so a stop is never silent.
  if (handler != &standardError) std::fprintf(stderr, "Error: %s\n", text);
  ShowMessageBox(text, "Error", MB_OK);
  SDL_Quit();
  std::exit(1);
}
