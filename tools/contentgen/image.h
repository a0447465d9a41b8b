// Pictures in the making: an RGB pixel grid, and the 16-bit 5-6-5 BMP writer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A picture being drawn: width x height RGB pixels, row by row from the top.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  Image() = default;
  Image(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(size_t(w) * h, fill) {}

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Rgb Get(int x, int y) const { return pixels[size_t(y) * width + x]; }
  // Sets one pixel; points outside the picture are ignored (so shapes clip at the edges).
  void Set(int x, int y, Rgb c) {
    if (Inside(x, y)) pixels[size_t(y) * width + x] = c;
  }
};

// Fills the rectangle (x, y, w, h), clipped to the picture.
void FillRect(Image& image, int x, int y, int w, int h, Rgb c);
// A one-pixel rectangle outline.
void FrameRect(Image& image, int x, int y, int w, int h, Rgb c);
// Copies the (sx, sy, w, h) part of `source` to (x, y); with `keyed`, pixels equal to `key`
// are left out, as the game's colour keys do.
void Blit(Image& target, const Image& source, int x, int y, int sx, int sy, int w, int h,
          bool keyed, Rgb key = {});
// Copies the whole of `source` with black left out.
void BlitKeyed(Image& target, const Image& source, int x, int y);

// The 5-6-5 value that a colour becomes in the game's 16-bit pictures.
uint16_t To565(Rgb c);

// The bytes of a 16-bit BI_BITFIELDS BMP (masks F800/07E0/001F, rows bottom-up and padded
// to four bytes), the layout SDL_LoadBMP reads into a 5-6-5 surface.
std::vector<uint8_t> EncodeBmp565(const Image& image);
// Writes the BMP to a file; false with the reason in `error` when the file cannot be written.
bool WriteBmp565(const std::string& path, const Image& image, std::string* error);
