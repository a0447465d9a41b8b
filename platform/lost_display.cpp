#include "platform/lost_display.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace {

int OnLostDisplay(Display*) {
  static const char message[] = "zorblats: the connection to the display was lost; the game ends\n";
  const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
  static_cast<void>(written);  // nothing more can be done about a failed message
  _exit(1);
}

}  // namespace

void EndOnLostDisplay() { XSetIOErrorHandler(OnLostDisplay); }
