#include "platform/screen_changes.h"

#include <algorithm>
#include <cstring>

namespace {

SDL_Rect MakeRect(int x, int y, int w, int h) {
  return {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
          static_cast<Uint16>(h)};
}

}  // namespace

ChangedBands TakeChanges(ShownCopy& shown, const SDL_Surface* screen, const SDL_Rect& area) {
  ChangedBands changes{};
  const int first = area.x, end = area.x + area.w;
  for (int y = area.y; y < area.y + area.h; ++y) {
    const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(screen->pixels) +
                                                        y * screen->pitch);
    uint16_t* copy = shown.pixels[y];
    int left = first, right = end;  // the changed part of the row
    if (shown.known[y]) {
      if (std::memcmp(row + first, copy + first, (end - first) * sizeof *row) == 0) continue;
      while (row[left] == copy[left]) ++left;
      while (row[right - 1] == copy[right - 1]) --right;
    } else {
      shown.known[y] = first == 0 && end == kScreenWidth;
    }
    std::memcpy(copy + left, row + left, (right - left) * sizeof *row);
    SDL_Rect* last = changes.count ? &changes.band[changes.count - 1] : nullptr;
    if (!last || (last->y + last->h < y && changes.count < kMaxChangedBands)) {
      changes.band[changes.count++] = MakeRect(left, y, right - left, 1);
    } else {
      const int from = std::min<int>(last->x, left), to = std::max(last->x + last->w, right);
      *last = MakeRect(from, last->y, to - from, y + 1 - last->y);
    }
  }
  return changes;
}

void ForgetShown(ShownCopy& shown) { std::fill_n(shown.known, kScreenHeight, false); }
