#include "platform/desktop/work_area.h"

#include <SDL/SDL.h>
#include <SDL/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/screen.h"

namespace {

// A window manager that draws frames but does not say how thick: room for a title bar.
constexpr WorkArea kFrameAllowance{0, 0, 0, 0, 4, 4, 30, 4};
constexpr int kFrameWaitMs = 300;

// A connection of the game's own to the X display SDL draws on; null under any other
// video driver. The desktop's properties are read through it, apart from SDL's.
Display* OpenX() {
  char driver[16] = "";
  if (!SDL_VideoDriverName(driver, sizeof driver) || std::strcmp(driver, "x11") != 0) return nullptr;
  return XOpenDisplay(nullptr);
}

// Up to count 32-bit numbers of a window's property; how many it holds.
int ReadCardinals(Display* display, Window window, const char* name, long* values, int count) {
  Atom type = None;
  int format = 0;
  unsigned long got = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom property = XInternAtom(display, name, False);
  if (XGetWindowProperty(display, window, property, 0, count, False, AnyPropertyType, &type, &format, &got, &after,
                         &data) != Success) {
    return 0;
  }
  const int n = format == 32 ? static_cast<int>(std::min<unsigned long>(got, count)) : 0;
  if (n > 0) std::memcpy(values, data, n * sizeof(long));  // Xlib hands 32-bit items as longs
  if (data) XFree(data);
  return n;
}

bool Supports(Display* display, Window root, const char* name) {
  long atoms[512];
  const int n = ReadCardinals(display, root, "_NET_SUPPORTED", atoms, 512);
  const long wanted = static_cast<long>(XInternAtom(display, name, False));
  return std::find(atoms, atoms + n, wanted) != atoms + n;
}

// The frame the window manager puts around a new window: asked for on a window of our own
// that is never shown, as window managers answer before mapping.
bool AskFrameExtents(Display* display, Window root, long extents[4]) {
  if (!Supports(display, root, "_NET_REQUEST_FRAME_EXTENTS")) return false;
  const Window probe = XCreateSimpleWindow(display, root, 0, 0, kScreenWidth, kScreenHeight, 0, 0, 0);
  XSizeHints fixed{};  // as the game's window: no resize handle
  fixed.flags = PMinSize | PMaxSize;
  fixed.min_width = fixed.max_width = kScreenWidth;
  fixed.min_height = fixed.max_height = kScreenHeight;
  XSetWMNormalHints(display, probe, &fixed);
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = probe;
  message.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  message.xclient.format = 32;
  XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &message);
  bool answered = false;
  for (int waited = 0; !answered && waited < kFrameWaitMs; waited += 10) {
    XSync(display, False);
    answered = ReadCardinals(display, probe, "_NET_FRAME_EXTENTS", extents, 4) == 4;
    if (!answered) usleep(10 * 1000);
  }
  XDestroyWindow(display, probe);
  return answered;
}

Window GameWindow() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  return SDL_GetWMInfo(&info) == 1 ? info.info.x11.window : None;
}

}  // namespace

WorkArea ReadWorkArea(int screenWidth, int screenHeight) {
  WorkArea area{0, 0, screenWidth, screenHeight, 0, 0, 0, 0};
  Display* display = OpenX();
  if (!display) return area;
  const Window root = DefaultRootWindow(display);
  long desktop = 0;
  if (ReadCardinals(display, root, "_NET_CURRENT_DESKTOP", &desktop, 1) != 1 || desktop < 0 || desktop > 63) {
    desktop = 0;
  }
  long areas[64 * 4];
  if (ReadCardinals(display, root, "_NET_WORKAREA", areas, 64 * 4) >= 4 * (desktop + 1)) {
    const long* a = areas + 4 * desktop;
    const long left = std::max(0L, a[0]), top = std::max(0L, a[1]);
    const long right = std::min<long>(screenWidth, a[0] + a[2]), bottom = std::min<long>(screenHeight, a[1] + a[3]);
    if (left < right && top < bottom) {
      area.left = static_cast<int>(left);
      area.top = static_cast<int>(top);
      area.width = static_cast<int>(right - left);
      area.height = static_cast<int>(bottom - top);
    }
  }
  long frame[4];
  long manager = 0;
  if (AskFrameExtents(display, root, frame)) {
    area.frameLeft = static_cast<int>(frame[0]);
    area.frameRight = static_cast<int>(frame[1]);
    area.frameTop = static_cast<int>(frame[2]);
    area.frameBottom = static_cast<int>(frame[3]);
  } else if (ReadCardinals(display, root, "_NET_SUPPORTING_WM_CHECK", &manager, 1) == 1) {
    area.frameLeft = kFrameAllowance.frameLeft;
    area.frameRight = kFrameAllowance.frameRight;
    area.frameTop = kFrameAllowance.frameTop;
    area.frameBottom = kFrameAllowance.frameBottom;
  }
  XCloseDisplay(display);
  return area;
}

bool ReadGameWindowSize(int& width, int& height) {
  const Window window = GameWindow();
  Display* display = window != None ? OpenX() : nullptr;
  if (!display) return false;
  XWindowAttributes attributes{};
  const bool read = XGetWindowAttributes(display, window, &attributes) != 0;
  if (read) {
    width = attributes.width;
    height = attributes.height;
  }
  XCloseDisplay(display);
  return read;
}
