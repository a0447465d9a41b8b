#include "platform/window.h"

#include <SDL/SDL.h>

#include <cstring>

WindowHandle MainWindow = nullptr;

WindowHandle FindWindowByCaption(const char* caption) {
  SDL_Surface* screen = SDL_GetVideoSurface();
  if (!screen || !caption) return nullptr;
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  if (!title || std::strcmp(title, caption) != 0) return nullptr;
  return screen;
}
