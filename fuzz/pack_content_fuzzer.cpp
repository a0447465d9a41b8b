// Fuzzes the image table decoder: any bytes must give either a full set of surfaces with the
// sizes the table states, or a refusal with a reason and an empty set; never a read past the
// content, a leak or a crash.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "resources/pack.h"

namespace {

uint32_t Le(const uint8_t* p, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImageSet set;
  std::string error;
  if (!set.ParseContent(data, size, &error)) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(set.Count() == 0);
    FUZZ_CHECK(set.GetSurface(0) == nullptr);
    return 0;
  }
  // Accepted: walk the table on our own and compare every entry.
  FUZZ_CHECK(size >= 4);
  FUZZ_CHECK(static_cast<uint32_t>(set.Count()) == Le(data, 4));
  size_t offset = 4;
  for (int32_t i = 0; i < set.Count(); ++i) {
    FUZZ_CHECK(offset + 31 <= size);
    const int32_t width = static_cast<int32_t>(Le(data + offset + 4, 4));
    const int32_t height = static_cast<int32_t>(Le(data + offset + 8, 4));
    const uint32_t pitch = Le(data + offset + 12, 2);
    offset += 31 + static_cast<size_t>(pitch) * static_cast<size_t>(height);
    FUZZ_CHECK(offset <= size);
    const SDL_Surface* surface = set.GetSurface(i);
    FUZZ_CHECK(surface != nullptr);
    FUZZ_CHECK(surface->w == width && surface->h == height);
  }
  FUZZ_CHECK(set.GetSurface(set.Count()) == nullptr);
  set.FreeAll();
  FUZZ_CHECK(set.Count() == 0);
  return 0;
}
