#include "platform/lost_display.h"

#include <SDL/SDL.h>
#include <X11/Xlib.h>
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int compositorConnection = -1;  // SDL's socket to the Wayland compositor; -1: not under Wayland

[[noreturn]] void EndForLostDisplay() {
  static const char message[] = "zorblats: the connection to the display was lost; the game ends\n";
  const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
  static_cast<void>(written);  // nothing more can be done about a failed message
  _exit(1);
}

int OnLostDisplay(Display*) { EndForLostDisplay(); }

// SDL's open socket whose other end is the compositor's socket at that path, or -1.
int FindConnectionTo(const char* path) {
  DIR* fds = opendir("/proc/self/fd");
  if (!fds) return -1;
  int found = -1;
  while (const dirent* entry = readdir(fds)) {
    const int fd = std::atoi(entry->d_name);
    struct stat about {};
    sockaddr_un peer{};
    socklen_t length = sizeof peer;
    if (entry->d_name[0] != '.' && fstat(fd, &about) == 0 && S_ISSOCK(about.st_mode) &&
        getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 && peer.sun_family == AF_UNIX &&
        std::strncmp(peer.sun_path, path, sizeof peer.sun_path) == 0) {
      found = fd;
    }
  }
  closedir(fds);
  return found;
}

}  // namespace

void EndOnLostDisplay() {
  XSetIOErrorHandler(OnLostDisplay);
  char driver[16] = "";
  if (!SDL_VideoDriverName(driver, sizeof driver) || std::strcmp(driver, "wayland") != 0) return;
  // The compositor's socket as the Wayland library finds it (a connection handed over in
  // WAYLAND_SOCKET has no name: it is not watched).
  const char* name = std::getenv("WAYLAND_DISPLAY");
  const char* folder = std::getenv("XDG_RUNTIME_DIR");
  if (!name || !*name) name = "wayland-0";
  char path[sizeof(sockaddr_un::sun_path)];
  const int length = name[0] == '/' ? std::snprintf(path, sizeof path, "%s", name)
                                    : std::snprintf(path, sizeof path, "%s/%s", folder ? folder : "", name);
  if (length > 0 && length < static_cast<int>(sizeof path)) compositorConnection = FindConnectionTo(path);
}

// The quit came from a connection the compositor has closed (it ended or crashed), not
// from the window's close button.
void EndIfDisplayLost() {
  pollfd connection{compositorConnection, POLLIN | POLLRDHUP, 0};
  if (compositorConnection >= 0 && poll(&connection, 1, 0) == 1 &&
      (connection.revents & (POLLHUP | POLLRDHUP | POLLERR)) != 0) {
    EndForLostDisplay();
  }
}
