#include "frontend/focus.h"

#include <cstdio>

#include "platform/paths.h"
#include "resources/draw.h"

namespace {

// data/focus.bmp: four keyed corners side by side (top left, top right, bottom left,
// bottom right), each kCorner square.
constexpr int16_t kCorner = 6;
constexpr int16_t kOutside = 2;  // how far the corners stand off the area
constexpr char kFocusPicture[] = "focus.bmp";

// Loads the corners, converted and keyed, or null. The mark is drawn only on a key press,
// so the small picture is read afresh each time and nothing outlives the screen it was
// made for. Without the picture the mark is a plain amber frame in the same place.
SDL_Surface* LoadCorners() {
  char gamePath[kPathCapacity];
  char hostPath[kPathCapacity];
  const int length = std::snprintf(gamePath, sizeof gamePath, "%s%s", DataDir, kFocusPicture);
  if (length < 0 || length >= static_cast<int>(sizeof gamePath)) return nullptr;
  if (!HostPath(gamePath, hostPath, sizeof hostPath)) return nullptr;
  SDL_Surface* loaded = SDL_LoadBMP(hostPath);
  if (!loaded) return nullptr;
  SDL_Surface* corners = nullptr;
  if (loaded->w == 4 * kCorner && loaded->h == kCorner) {
    corners = SDL_ConvertSurface(loaded, ScreenSurface->format, SDL_SWSURFACE);
    if (corners) SDL_SetColorKey(corners, SDL_SRCCOLORKEY, SDL_MapRGB(corners->format, 0, 0, 0));
  }
  SDL_FreeSurface(loaded);
  return corners;
}

// The plain frame: four amber bars two pixels thick.
void Frame(const Rect& r) {
  const Uint32 amber = SDL_MapRGB(ScreenSurface->format, 255, 196, 72);
  const Rect sides[4] = {{r.left, r.top, r.right, r.top + 2},
                         {r.left, r.bottom - 2, r.right, r.bottom},
                         {r.left, r.top, r.left + 2, r.bottom},
                         {r.right - 2, r.top, r.right, r.bottom}};
  for (const Rect& side : sides) {
    SDL_Rect bar{static_cast<Sint16>(side.left), static_cast<Sint16>(side.top),
                 static_cast<Uint16>(side.right - side.left), static_cast<Uint16>(side.bottom - side.top)};
    SDL_FillRect(ScreenSurface, &bar, amber);
  }
}

}  // namespace

NavKey ReadNavKey(const SDL_Event& event) {
  if (event.type != SDL_KEYDOWN) return NavKey::None;
  switch (event.key.keysym.sym) {
    case SDLK_DOWN:
      return NavKey::Next;
    case SDLK_TAB:
      return event.key.keysym.mod & KMOD_SHIFT ? NavKey::Previous : NavKey::Next;
    case SDLK_UP:
      return NavKey::Previous;
    case SDLK_LEFT:
      return NavKey::Left;
    case SDLK_RIGHT:
      return NavKey::Right;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
      return NavKey::Press;
    case SDLK_ESCAPE:
    case SDLK_BACKSPACE:
      return NavKey::Back;
    default:
      return NavKey::None;
  }
}

NavKey AlongRow(NavKey key) {
  if (key == NavKey::Left) return NavKey::Previous;
  if (key == NavKey::Right) return NavKey::Next;
  return key;
}

bool MoveFocus(int& marked, int count, NavKey key) {
  if (key == NavKey::None || key == NavKey::Back || count <= 0) return false;
  if (marked < 0) {
    marked = 0;
    return true;
  }
  if (key == NavKey::Next) marked = (marked + 1) % count;
  else if (key == NavKey::Previous) marked = (marked + count - 1) % count;
  else return false;
  return true;
}

void DrawFocusMark(const Rect& area) {
  const Rect r{area.left - kOutside, area.top - kOutside, area.right + kOutside, area.bottom + kOutside};
  SDL_Surface* corners = LoadCorners();
  if (!corners) {
    Frame(r);
    return;
  }
  const int16_t right = static_cast<int16_t>(r.right - kCorner);
  const int16_t bottom = static_cast<int16_t>(r.bottom - kCorner);
  const int16_t left = static_cast<int16_t>(r.left);
  const int16_t top = static_cast<int16_t>(r.top);
  BlitImagePart(corners, left, top, kCorner, kCorner, 0, 0);
  BlitImagePart(corners, right, top, kCorner, kCorner, kCorner, 0);
  BlitImagePart(corners, left, bottom, kCorner, kCorner, 2 * kCorner, 0);
  BlitImagePart(corners, right, bottom, kCorner, kCorner, 3 * kCorner, 0);
  SDL_FreeSurface(corners);
}

void TapPointOf(const Rect& area, int32_t& x, int32_t& y) {
  x = (area.left + area.right) / 2;
  y = (area.top + area.bottom) / 2;
}

void ShowFocusMark(const Rect* areas, int marked) {
  if (marked < 0) return;
  DrawFocusMark(areas[marked]);
  FlipScreen();
}
