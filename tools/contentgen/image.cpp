#include "tools/contentgen/image.h"

#include <cstdio>

void FillRect(Image& image, int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) image.Set(i, j, c);
}

void FrameRect(Image& image, int x, int y, int w, int h, Rgb c) {
  FillRect(image, x, y, w, 1, c);
  FillRect(image, x, y + h - 1, w, 1, c);
  FillRect(image, x, y, 1, h, c);
  FillRect(image, x + w - 1, y, 1, h, c);
}

void Blit(Image& target, const Image& source, int x, int y, int sx, int sy, int w, int h,
          bool keyed, Rgb key) {
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      if (!source.Inside(sx + i, sy + j)) continue;
      Rgb c = source.Get(sx + i, sy + j);
      if (keyed && c == key) continue;
      target.Set(x + i, y + j, c);
    }
  }
}

void BlitKeyed(Image& target, const Image& source, int x, int y) {
  Blit(target, source, x, y, 0, 0, source.width, source.height, true);
}

uint16_t To565(Rgb c) {
  return uint16_t(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

static void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

static void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<uint8_t> EncodeBmp565(const Image& image) {
  const uint32_t rowBytes = (uint32_t(image.width) * 2 + 3) & ~3u;
  const uint32_t dataSize = rowBytes * uint32_t(image.height);
  const uint32_t offset = 14 + 40 + 12;  // file header, info header, three channel masks
  std::vector<uint8_t> out;
  out.reserve(offset + dataSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + dataSize);
  Put32(out, 0);  // reserved
  Put32(out, offset);
  Put32(out, 40);  // BITMAPINFOHEADER
  Put32(out, uint32_t(image.width));
  Put32(out, uint32_t(image.height));  // positive: rows stored bottom-up
  Put16(out, 1);                       // planes
  Put16(out, 16);                      // bits per pixel
  Put32(out, 3);                       // BI_BITFIELDS
  Put32(out, dataSize);
  Put32(out, 2835);  // 72 dots per inch, both ways
  Put32(out, 2835);
  Put32(out, 0);  // no palette
  Put32(out, 0);
  Put32(out, 0xF800);
  Put32(out, 0x07E0);
  Put32(out, 0x001F);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) Put16(out, To565(image.Get(x, y)));
    for (uint32_t pad = uint32_t(image.width) * 2; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

bool WriteBmp565(const std::string& path, const Image& image, std::string* error) {
  std::vector<uint8_t> bytes = EncodeBmp565(image);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    *error = "cannot create " + path;
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) *error = "cannot write " + path;
  return ok;
}
