#include "platform/lost_display.h"

#include <SDL/SDL.h>
#include <X11/Xlib.h>
#include <errno.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char compositorSocket[sizeof(sockaddr_un::sun_path)] = "";  // empty: not under Wayland

[[noreturn]] void EndForLostDisplay() {
  static const char message[] = "zorblats: the connection to the display was lost; the game ends\n";
  const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
  static_cast<void>(written);  // nothing more can be done about a failed message
  _exit(1);
}

int OnLostDisplay(Display*) { EndForLostDisplay(); }

enum class Listening { Yes, No, Unknown };

// Whether anything listens on the socket: a compositor that has gone leaves no socket or
// one that refuses. A live one sees a client come and go at once.
Listening Listens(const char* path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return Listening::Unknown;
  const int result = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  const int error = errno;
  close(fd);
  if (result == 0 || error == EAGAIN || error == EINPROGRESS) return Listening::Yes;
  return error == ECONNREFUSED || error == ENOENT ? Listening::No : Listening::Unknown;
}

}  // namespace

void EndOnLostDisplay() {
  XSetIOErrorHandler(OnLostDisplay);
  char driver[16] = "";
  if (!SDL_VideoDriverName(driver, sizeof driver) || std::strcmp(driver, "wayland") != 0) return;
  // The socket as the Wayland library finds it; kept only if it is the compositor's now
  // (a connection handed over in WAYLAND_SOCKET leaves no name to look at later).
  const char* name = std::getenv("WAYLAND_DISPLAY");
  const char* folder = std::getenv("XDG_RUNTIME_DIR");
  if (!name || !*name) name = "wayland-0";
  char path[sizeof compositorSocket];
  const int length = name[0] == '/' ? std::snprintf(path, sizeof path, "%s", name)
                                    : std::snprintf(path, sizeof path, "%s/%s", folder ? folder : "", name);
  if (length > 0 && length < static_cast<int>(sizeof path) && Listens(path) == Listening::Yes) {
    std::memcpy(compositorSocket, path, sizeof path);
  }
}

void EndIfDisplayLost() {
  if (compositorSocket[0] && Listens(compositorSocket) == Listening::No) EndForLostDisplay();
}
