// A look at a BMP file's header before SDL reads it, so that a damaged or hand-made file
// cannot make the loader allocate and clear gigabytes for pixels the file does not hold.
#pragma once
#include <cstdint>

// The largest picture any BMP the game reads may describe: 4096 x 4096 pixels. The screen is
// 240 x 320; anything near this size is a damaged header, not a picture.
constexpr int64_t kMaxBitmapPixels = 4096 * 4096;

// True when the file at a host path is not a BMP at all (SDL refuses those quickly by itself)
// or is one whose header is whole, whose size fits the limit above and, for uncompressed
// pixels, whose rows all lie inside the file. Otherwise false, with the reason in
// SDL_GetError(). Called before every
// SDL_LoadBMP of outside files: the help text's pictures and the pack builder's sources.
bool BitmapFileIsSane(const char* hostPath);
