#include "platform/desktop/window_mode.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/config_file.h"
#include "platform/desktop/renderer_choice.h"
#include "platform/desktop/wayland_window.h"
#include "platform/lost_display.h"
#include "platform/screen.h"
#include "platform/screen_changes.h"

namespace {

constexpr int kMaxWindowScale = 4;

StartMode startMode = StartMode::Remembered;
SDL_Surface* gameScreen = nullptr;  // what the game draws into
SDL_Surface* video = nullptr;       // what SDL shows
ScreenLayout layout{kScreenWidth, kScreenHeight, 1, 0, 0};
bool fullscreen = true;
int desktopWide = 0;  // the desktop's size, as SDL gave it before the first video mode, in
int desktopHigh = 0;  // device pixels under Wayland (platform/desktop/wayland_window.h)
WorkArea workArea{};  // the room for a window, read with the desktop's size
bool wayland = false;  // the window's size is read from SDL2, in device pixels and units
WindowSize lastWindow{};  // under Wayland, the window's last size, often the compositor's choice
ShownCopy shown;  // what the video surface shows of the game's surface

// Sets a video mode of that size; the picture is centred in whatever size SDL gives. Under
// Wayland a window is made size.unitsWide x size.unitsHigh units, and its surface then takes
// the window's size in device pixels as SDL rounded it.
bool OpenVideo(const WindowSize& size, bool wantFullscreen) {
  const Uint32 flags = SDL_HWSURFACE | SDL_DOUBLEBUF | (wantFullscreen ? SDL_FULLSCREEN : 0);
  const bool waylandWindow = wayland && !wantFullscreen;
  if (waylandWindow) AskWindowUnits(size);
  SDL_Surface* surface = SDL_SetVideoMode(size.width, size.height, 16, flags);
  WindowSize drawn = size;
  if (surface && waylandWindow) {
    LetCompositorResize();
    // A tiling compositor may have sized the window already.
    if (ReadWindowSize(drawn) && (drawn.width != surface->w || drawn.height != surface->h)) {
      surface = SDL_SetVideoMode(drawn.width, drawn.height, 16, flags);
      LetCompositorResize();
    }
    lastWindow = drawn;
  }
  video = surface && surface->format->BytesPerPixel == 2 ? surface : nullptr;
  if (!video) return false;
  layout = FitScreen(video->w, video->h);
  fullscreen = wantFullscreen;
  SDL_FillRect(video, nullptr, 0);
  SDL_UpdateRect(video, 0, 0, 0, 0);
  ForgetShown(shown);
  return true;
}

// The full screen, or the window centred in the desktop's work area (SDL's own centring
// would take the whole screen, and back from the full screen leave the window in a corner).
bool SetMode(bool wantFullscreen) {
  if (wantFullscreen) {
    const ScreenLayout wanted = FitScreen(desktopWide, desktopHigh);
    return OpenVideo({wanted.width, wanted.height, wanted.width, wanted.height}, true);
  }
  // Back from the full screen a Wayland window asks for the size it had (its tile's, say): the
  // compositor does not send it again, and SDL would keep any other size.
  if (lastWindow.width > 0) return OpenVideo(lastWindow, false);
  const WindowPlace place = FitWindow(workArea);
  // SDL puts the window there, at start and back from the full screen (a window manager
  // takes the place for its frame's corner).
  char position[32];
  std::snprintf(position, sizeof position, "%d,%d", place.x, place.y);
  setenv("SDL_VIDEO_WINDOW_POS", position, 1);
  const int wide = place.layout.width, high = place.layout.height;
  return OpenVideo(wayland ? WindowOfPixels(wide, high) : WindowSize{wide, high, wide, high}, false);
}

// Copies a rectangle of the game's surface onto the video surface, each pixel scale x scale.
void ScaleOnto(const SDL_Rect& area) {
  if (SDL_MUSTLOCK(video) && SDL_LockSurface(video) < 0) return;
  const int s = layout.scale;
  for (int y = area.y; y < area.y + area.h; ++y) {
    const auto* from = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(gameScreen->pixels) +
                                                       y * gameScreen->pitch) + area.x;
    Uint8* firstRow = static_cast<Uint8*>(video->pixels) + (layout.top + y * s) * video->pitch;
    auto* to = reinterpret_cast<Uint16*>(firstRow) + layout.left + area.x * s;
    for (int x = 0; x < area.w; ++x) std::fill_n(to + x * s, s, from[x]);
    for (int copy = 1; copy < s; ++copy) {
      std::memcpy(reinterpret_cast<Uint8*>(to) + copy * video->pitch, to, area.w * s * sizeof(Uint16));
    }
  }
  if (SDL_MUSTLOCK(video)) SDL_UnlockSurface(video);
}

// The display: only the changed rows of the game's surface are scaled and handed on, so an
// unchanged flip costs a comparison and nothing else. Any other surface is updated as SDL does.
class Display final : public ScreenOutput {
 public:
  void Show(SDL_Surface* screen, const SDL_Rect& area) override {
    if (screen != gameScreen || !video) {
      SDL_UpdateRect(screen, area.x, area.y, area.w, area.h);
      return;
    }
    const ChangedBands changes = TakeChanges(shown, gameScreen, area);
    SDL_Rect scaled[kMaxChangedBands];
    const int s = layout.scale;
    for (int i = 0; i < changes.count; ++i) {
      const SDL_Rect& band = changes.band[i];
      ScaleOnto(band);
      scaled[i] = {static_cast<Sint16>(layout.left + band.x * s), static_cast<Sint16>(layout.top + band.y * s),
                   static_cast<Uint16>(band.w * s), static_cast<Uint16>(band.h * s)};
    }
    if (changes.count > 0) SDL_UpdateRects(video, changes.count, scaled);
  }
};

Display display;

// Shows the whole of the game's screen again: after a new video mode or an expose.
void ShowAgain() {
  if (gameScreen) display.Show(gameScreen, SDL_Rect{0, 0, kScreenWidth, kScreenHeight});
}

// A window the window manager or compositor gave another size (a tiling one fills its
// tile) takes that size, the picture centred on black at the largest whole scale in it.
void FollowWindowSize(WindowSize size) {
  if (fullscreen || !video || (size.width == video->w && size.height == video->h)) return;
  size.width = std::max(size.width, kScreenWidth);
  size.height = std::max(size.height, kScreenHeight);
  if (OpenVideo(size, false)) {
    ShowAgain();
  } else {
    SetMode(false);
  }
}

}  // namespace

ScreenLayout FitScreen(int surfaceWidth, int surfaceHeight) {
  const int scale = std::max(1, std::min(surfaceWidth / kScreenWidth, surfaceHeight / kScreenHeight));
  const int width = std::max(surfaceWidth, kScreenWidth * scale);
  const int height = std::max(surfaceHeight, kScreenHeight * scale);
  return {width, height, scale, (width - kScreenWidth * scale) / 2, (height - kScreenHeight * scale) / 2};
}

WindowPlace FitWindow(const WorkArea& area) {
  const int roomWide = area.width - area.frameLeft - area.frameRight;
  const int roomHigh = area.height - area.frameTop - area.frameBottom;
  int scale = std::max(1, std::min(roomWide / kScreenWidth, roomHigh / kScreenHeight));
  scale = std::min(scale, kMaxWindowScale);
  const int wide = kScreenWidth * scale, high = kScreenHeight * scale;
  const int x = area.left + std::max(0, (roomWide - wide) / 2);
  const int y = area.top + std::max(0, (roomHigh - high) / 2);
  return {{wide, high, scale, 0, 0}, x, y};
}

bool MapToGame(const ScreenLayout& at, int x, int y, int& gameX, int& gameY) {
  const int px = x - at.left;
  const int py = y - at.top;
  const int right = kScreenWidth * at.scale;
  const int bottom = kScreenHeight * at.scale;
  gameX = std::clamp(px, 0, right - 1) / at.scale;
  gameY = std::clamp(py, 0, bottom - 1) / at.scale;
  return px >= 0 && px < right && py >= 0 && py < bottom;
}

void ChooseStartMode(StartMode mode) { startMode = mode; }

void PrepareScreen() {
  // The game scales its screen itself by a whole number; should SDL scale it any further
  // (a window manager resizing the window), keep the pixel art sharp. A window opens centred.
  setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
  setenv("SDL_RENDER_SCALE_QUALITY", "0", 0);
  setenv("SDL_VIDEO_CENTERED", "1", 0);
  // In a Wayland session SDL would take the X display first when there is one too, and
  // Xwayland shows the picture stretched on a scaled output: the compositor is asked for.
  if (!std::getenv("SDL_VIDEODRIVER") && WaylandCompositorAnswers()) setenv("SDL_VIDEODRIVER", "wayland", 1);
}

SDL_Surface* OpenGameScreen() {
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  desktopWide = info ? info->current_w : 0;
  desktopHigh = info ? info->current_h : 0;
  wayland = PrepareWaylandWindow(desktopWide, desktopHigh);
  workArea = ReadWorkArea(desktopWide, desktopHigh);
  PreferSoftwareRendererWithoutGpu();
  bool full = startMode == StartMode::Remembered ? LoadDisplayConfig().fullscreen
                                                  : startMode == StartMode::FullScreen;
  if (!SetMode(full) && !SetMode(!full)) return nullptr;
  const SDL_PixelFormat* f = video->format;
  SDL_FreeSurface(gameScreen);  // the one made by an earlier start in the same process (tests)
  gameScreen = SDL_CreateRGBSurface(SDL_SWSURFACE, kScreenWidth, kScreenHeight, 16, f->Rmask, f->Gmask, f->Bmask, 0);
  return gameScreen;
}

ScreenOutput& DisplayOutput() { return display; }

bool ToggleFullScreen() {
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  char caption[64] = "";
  std::snprintf(caption, sizeof caption, "%s", title ? title : "");
  const bool was = fullscreen;
  if (!SetMode(!was)) {
    if (!SetMode(was)) return false;
  } else {
    SaveDisplayConfig(DisplayConfig{fullscreen});
  }
  SDL_WM_SetCaption(caption, nullptr);
  ShowAgain();
  return true;
}

bool TakeWindowEvent(SDL_Event& event) {
  if (!gameScreen) return false;
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const SDL_keysym& key = event.key.keysym;
      const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
      if (key.sym != SDLK_F11 && !(enter && (key.mod & KMOD_ALT))) return false;
      if (event.type == SDL_KEYDOWN) ToggleFullScreen();
      return true;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int x = 0, y = 0;
      const bool inside = MapToGame(layout, event.button.x, event.button.y, x, y);
      event.button.x = static_cast<Uint16>(x);
      event.button.y = static_cast<Uint16>(y);
      return !inside && event.type == SDL_MOUSEBUTTONDOWN;
    }
    case SDL_MOUSEMOTION: {
      int x = 0, y = 0;
      MapToGame(layout, event.motion.x, event.motion.y, x, y);
      event.motion.x = static_cast<Uint16>(x);
      event.motion.y = static_cast<Uint16>(y);
      return false;
    }
    case SDL_VIDEOEXPOSE:
      ForgetShown(shown);
      ShowAgain();
      return false;
    case SDL_VIDEORESIZE: {
      // Under X the event may be an echo of an earlier switch: the window's own size counts;
      // under Wayland the event has the size in units, SDL2 the size in device pixels.
      WindowSize size{event.resize.w, event.resize.h, event.resize.w, event.resize.h};
      if (!ReadWindowSize(size)) ReadGameWindowSize(size.width, size.height);
      FollowWindowSize(size);
      return true;
    }
    case SDL_QUIT:
      EndIfDisplayLost();  // a lost Wayland compositor reaches SDL's queue as a quit
      return false;
    default:
      return false;
  }
}
