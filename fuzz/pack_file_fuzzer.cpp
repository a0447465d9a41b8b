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

uint32_t Le(const uint8_t* p, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzFolder() + "data/f.pak";
  FuzzWriteFile(path, data, size);
  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  if (!pack.TryLoad(set, "\\data\\f", kBufferSize, &error)) {
    FUZZ_CHECK(set.Count() == 0);
    FUZZ_CHECK(error.find(path) != std::string::npos);
    return 0;
  }
  for (int32_t i = 0; i < set.Count(); ++i) FUZZ_CHECK(set.GetSurface(i) != nullptr);
  FUZZ_CHECK(set.GetSurface(set.Count()) == nullptr);
  if (size >= 2 && data[0] == 0x1f && data[1] == 0x8b) return 0;  // gzip: no table to walk here
  FUZZ_CHECK(size >= 4);
  FUZZ_CHECK(static_cast<uint32_t>(set.Count()) == Le(data, 4));
  size_t offset = 4;
  for (int32_t i = 0; i < set.Count(); ++i) {
    FUZZ_CHECK(offset + 31 <= size);
    const SDL_Surface* surface = set.GetSurface(i);
    FUZZ_CHECK(surface->w == static_cast<int32_t>(Le(data + offset + 4, 4)));
    FUZZ_CHECK(surface->h == static_cast<int32_t>(Le(data + offset + 8, 4)));
    offset += 31 + static_cast<size_t>(Le(data + offset + 12, 2)) * static_cast<size_t>(surface->h);
    FUZZ_CHECK(offset <= size);
  }
  return 0;
}
