#include "platform/desktop/wayland_window.h"

#include <SDL/SDL.h>
#include <dlfcn.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The SDL2 calls the game makes on the window beneath SDL 1.2's.
struct Sdl2Window {
  void* (*get)();  // sdl12-compat's own: the SDL2 window, null before a video mode
  void (*getSize)(void* window, int* w, int* h);
  void* (*getRenderer)(void* window);
  int (*getOutputSize)(void* renderer, int* w, int* h);
  void (*setResizable)(void* window, int resizable);
};

Sdl2Window sdl2{};
bool prepared = false;
double pixelsPerUnit = 1;

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

// SDL2 as sdl12-compat loaded it (never a second copy); false without sdl12-compat.
bool FindSdl2() {
  void* library = dlopen("libSDL2-2.0.so.0", RTLD_LAZY | RTLD_NOLOAD);
  return library && Find(RTLD_DEFAULT, "SDL12COMPAT_GetWindow", sdl2.get) &&
         Find(library, "SDL_GetWindowSize", sdl2.getSize) && Find(library, "SDL_GetRenderer", sdl2.getRenderer) &&
         Find(library, "SDL_GetRendererOutputSize", sdl2.getOutputSize) &&
         Find(library, "SDL_SetWindowResizable", sdl2.setResizable);
}

// As sdl12-compat reads its switches: "0" and "false" are off.
bool SwitchedOn(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] != '0' && strcasecmp(value, "false") != 0;
}

}  // namespace

bool WaylandCompositorAnswers() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  const char* folder = std::getenv("XDG_RUNTIME_DIR");
  if (!name || !*name) return false;
  // The socket is named as libwayland finds it: a path, or a name in the runtime folder.
  const std::string path = name[0] == '/' ? name : std::string(folder ? folder : "") + "/" + name;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if ((name[0] != '/' && (!folder || !*folder)) || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return false;
  const bool answers = connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(socket);
  return answers;
}

bool PrepareWaylandWindow(int& desktopWide, int& desktopHigh) {
  char driver[16] = "";
  if (!SDL_VideoDriverName(driver, sizeof driver) || std::strcmp(driver, "wayland") != 0 || !FindSdl2()) return false;
  prepared = true;
  setenv("SDL12COMPAT_HIGHDPI", "1", 0);
  SDL_Rect** modes = SDL_ListModes(nullptr, SDL_FULLSCREEN);
  // Under Wayland SDL lists the output's own mode first, then smaller ones it can emulate.
  const bool listed = modes && modes != reinterpret_cast<SDL_Rect**>(-1) && modes[0];
  if (!SwitchedOn("SDL12COMPAT_HIGHDPI") || !listed || desktopWide <= 0) return true;
  pixelsPerUnit = static_cast<double>(modes[0]->w) / desktopWide;
  desktopWide = modes[0]->w;
  desktopHigh = modes[0]->h;
  return true;
}

WindowSize WindowOfPixels(int width, int height) {
  const auto units = [](int pixels) { return static_cast<int>(std::ceil(pixels / pixelsPerUnit - 1e-6)); };
  return {width, height, units(width), units(height)};
}

void AskWindowUnits(const WindowSize& size) {
  // sdl12-compat makes the window (int)(scaling * pixels) units wide and high: the scaling
  // is taken from the middle of the range where both come out right.
  const double low = std::max(static_cast<double>(size.unitsWide) / size.width,
                              static_cast<double>(size.unitsHigh) / size.height);
  const double high = std::min((size.unitsWide + 1.0) / size.width, (size.unitsHigh + 1.0) / size.height);
  char scaling[32];
  std::snprintf(scaling, sizeof scaling, "%.9g", low < high ? (low + high) / 2 : low);
  setenv("SDL12COMPAT_WINDOW_SCALING", scaling, 1);
}

void LetCompositorResize() {
  void* window = prepared ? sdl2.get() : nullptr;
  if (window) sdl2.setResizable(window, 1);
}

bool ReadWindowSize(WindowSize& size) {
  void* window = prepared ? sdl2.get() : nullptr;
  void* renderer = window ? sdl2.getRenderer(window) : nullptr;
  if (!renderer) return false;
  sdl2.getSize(window, &size.unitsWide, &size.unitsHigh);
  return sdl2.getOutputSize(renderer, &size.width, &size.height) == 0;
}
