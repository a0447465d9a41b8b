// Fuzzes the whole way a pack file takes into the game: gzip through zlib (or a plain table
// as it stands), the size limit of the reader's buffer, then the table. Whatever the file
// holds, TryLoad either fills the set or refuses with a message that names the file, and the
// set is then empty. A plain table that loads is walked entry by entry: every surface has the
// size its header states, and the entries end inside the file.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "resources/pack.h"

namespace {

// The start-screen pack's buffer: the main pack of the seed corpus is refused as too large
// after this much, the start-screen pack and the small packs load whole.
constexpr size_t kBufferSize = 200000;

// The little-endian number in the `size` bytes at p.
uint32_t Le(const uint8_t* p, int size) { return size == 0 ? 0 : p[0] | Le(p + 1, size - 1) << 8; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzFolder() + "data/f.pak";
  FuzzWriteFile(path, data, size);
  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  if (!pack.TryLoad(set, "\\data\\f", kBufferSize, &error)) {
    FUZZ_CHECK(set.Count() == 0 && error.find(path) != std::string::npos);
    return 0;
  }
  for (int32_t i = 0; i < set.Count(); ++i) FUZZ_CHECK(set.GetSurface(i) != nullptr);
  FUZZ_CHECK(set.GetSurface(set.Count()) == nullptr);
  if (size >= 2 && data[0] == 0x1f && data[1] == 0x8b) return 0;  // gzip: no table to walk here
  FUZZ_CHECK(size >= 4 && static_cast<uint32_t>(set.Count()) == Le(data, 4));
  for (size_t i = 0, at = 4; i < static_cast<size_t>(set.Count()); ++i) {
    FUZZ_CHECK(at + 31 <= size);
    const uint8_t* header = data + at;
    const SDL_Surface* surface = set.GetSurface(i);
    FUZZ_CHECK(surface->w == int32_t(Le(header + 4, 4)) &&
               surface->h == int32_t(Le(header + 8, 4)));
    at += 31 + size_t(Le(header + 12, 2)) * size_t(surface->h);
    FUZZ_CHECK(at <= size);
  }
  return 0;
}
