#include "resources/draw.h"

SDL_Surface* ScreenSurface = nullptr;

void FlipScreen() { PresentScreen(ScreenSurface, nullptr); }

void FlipScreenPart(const SDL_Rect& area) { PresentScreen(ScreenSurface, &area); }

int BlitImage(SDL_Surface* surface, int16_t x, int16_t y) {
  SDL_Rect destination{x, y, 0, 0};
  return SDL_UpperBlit(surface, nullptr, ScreenSurface, &destination);
}

int BlitImagePart(SDL_Surface* surface, int16_t x, int16_t y, uint16_t width, uint16_t height,
                  int16_t sourceX, int16_t sourceY) {
  SDL_Rect source{sourceX, sourceY, width, height};
  SDL_Rect destination{x, y, 0, 0};
  return SDL_UpperBlit(surface, &source, ScreenSurface, &destination);
}

uint32_t ReadPixel(int32_t x, int32_t y, SDL_Surface* surface) {
  if (!surface || static_cast<uint32_t>(x) >= static_cast<uint32_t>(surface->w) ||
      static_cast<uint32_t>(y) >= static_cast<uint32_t>(surface->h)) {
    return 0xFFFFFFFFu;
  }
  const int bytesPerPixel = surface->format->BytesPerPixel;
  const int bitsPerPixel = surface->format->BitsPerPixel;
  const uint8_t* p = static_cast<const uint8_t*>(surface->pixels) +
                     static_cast<uint16_t>(surface->pitch) * y + bytesPerPixel * x;
  uint32_t value = 0;
  for (int i = 0; i < bytesPerPixel; ++i) {
    value = (static_cast<uint32_t>(p[i]) << (bitsPerPixel - 8)) | (value >> 8);
  }
  return value;
}
