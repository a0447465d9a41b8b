#include "platform/desktop/renderer_choice.h"

#include <SDL/SDL.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

namespace {

// A display offers one of these when OpenGL can draw on a graphics processor.
constexpr const char* kDirectRendering[] = {"DRI3", "DRI2", "NV-GLX"};

bool OffersDirectRendering(Display* display) {
  int count = 0;
  char** names = XListExtensions(display, &count);
  bool offered = false;
  for (int i = 0; i < count && !offered; ++i) {
    for (const char* wanted : kDirectRendering)
      offered = offered || std::strcmp(names[i], wanted) == 0;
  }
  if (names) XFreeExtensionList(names);
  return offered;
}

}  // namespace

void PreferSoftwareRendererWithoutGpu() {
  char driver[16] = "";
  if (!SDL_VideoDriverName(driver, sizeof driver) || std::strcmp(driver, "x11") != 0) return;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  const bool gpu = OffersDirectRendering(display);
  XCloseDisplay(display);
  if (gpu) return;
  // Without the second, SDL2 would show its software renderer's frame through OpenGL again.
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
}
