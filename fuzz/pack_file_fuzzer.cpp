// Fuzzes the whole way a pack file takes into the game: gzip through zlib, the size limit
// of the reader's buffer, then the table. Whatever the file holds, TryLoad either fills the
// set or refuses with a message that names the file, and the set is then empty.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "resources/pack.h"

namespace {

// The start-screen pack's buffer: the main pack of the seed corpus is refused as too large
// after this much, the start-screen pack and the small packs load whole.
constexpr size_t kBufferSize = 200000;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzFolder() + "data/f.pak";
  FuzzWriteFile(path, data, size);
  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  if (pack.TryLoad(set, "//data//f", kBufferSize, &error)) {
    for (int32_t i = 0; i < set.Count(); ++i) FUZZ_CHECK(set.GetSurface(i) != nullptr);
  } else {
    FUZZ_CHECK(set.Count() == 0);
    FUZZ_CHECK(error.find(path) != std::string::npos);
  }
  return 0;
}
