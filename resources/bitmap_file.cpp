#include "resources/bitmap_file.h"

#include <SDL/SDL.h>
#include <sys/stat.h>

#include <cstdio>

namespace {

// The two headers' fields that decide how much memory the pixels take.
constexpr long kHeaderBytes = 30;  // up to the bit count of a 40-byte (or longer) header
constexpr uint32_t kCoreHeaderSize = 12;  // the old OS/2 header with 16-bit sizes
constexpr uint32_t kLargestInfoSize = 124;  // BITMAPV5HEADER
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kBitFields = 3;

uint32_t Le(const uint8_t* p, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
  return value;
}

}  // namespace

bool BitmapFileIsSane(const char* hostPath) {
  std::FILE* file = std::fopen(hostPath, "rb");
  if (!file) return true;  // SDL reports the missing file itself
  uint8_t h[kHeaderBytes + 4] = {};
  const size_t got = std::fread(h, 1, sizeof h, file);
  struct stat st {};
  const bool sized = fstat(fileno(file), &st) == 0;
  std::fclose(file);
  if (got < 2 || h[0] != 'B' || h[1] != 'M' || !sized) return true;

  // The file header, then an info header of 12 bytes (OS/2) or 16 to 124 bytes (Windows);
  // a file that ends inside the header it announces is read by SDL from fields that are
  // not there.
  const uint32_t infoSize = got >= 18 ? Le(h + 14, 4) : 0;
  const uint32_t infoBytesNeeded = infoSize == kCoreHeaderSize ? kCoreHeaderSize : kHeaderBytes - 14;
  if (infoSize < kCoreHeaderSize || infoSize > kLargestInfoSize ||
      (infoSize != kCoreHeaderSize && infoSize < 16) ||
      static_cast<int64_t>(st.st_size) < 14 + static_cast<int64_t>(infoSize) ||
      got < 14 + infoBytesNeeded) {
    SDL_SetError("the picture's header is cut short or of an unknown kind");
    return false;
  }
  int64_t width, height;
  uint32_t bits, compression = kUncompressed;
  if (infoSize == kCoreHeaderSize) {
    width = Le(h + 18, 2);
    height = Le(h + 20, 2);
    bits = Le(h + 24, 2);
  } else {
    width = static_cast<int32_t>(Le(h + 18, 4));
    height = static_cast<int32_t>(Le(h + 22, 4));
    bits = Le(h + 28, 2);
    compression = infoSize >= 20 ? Le(h + 30, 4) : kUncompressed;
  }
  // A negative height means rows stored top-down; the size is the same.
  if (width < 0) width = -width;
  if (height < 0) height = -height;
  if (width * height > kMaxBitmapPixels) {
    SDL_SetError("the picture claims %lld x %lld pixels, more than %lld",
                 static_cast<long long>(width), static_cast<long long>(height),
                 static_cast<long long>(kMaxBitmapPixels));
    return false;
  }
  if (compression == kUncompressed || compression == kBitFields) {
    // Rows are padded to whole 32-bit words.
    const int64_t rowBytes = (width * bits + 31) / 32 * 4;
    // The rows start where the file header says and must all lie before the file's end.
    const int64_t fileBytes = static_cast<int64_t>(st.st_size) - Le(h + 10, 4);
    if (rowBytes * height > fileBytes) {
      SDL_SetError("the picture claims %lld x %lld pixels of %u bits, more than the file holds",
                   static_cast<long long>(width), static_cast<long long>(height), bits);
      return false;
    }
  }
  return true;
}
