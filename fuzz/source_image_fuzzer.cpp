// Fuzzes the pack builder's loader with any bytes as a source bitmap: it either gives a
// surface or refuses with a message, and whatever it gives, the whole builder packs it into
// a pack that the game's reader loads back at the same size.
#include <SDL/SDL.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "resources/pack.h"
#include "resources/pack_build.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = FuzzFolder();
  FuzzWriteFile(folder + "data/s.bmp", data, size);
  uint32_t alpha = 7;
  SDL_Surface* surface = LoadSourceImage((folder + "data\\s.bmp").c_str(), &alpha);
  FUZZ_CHECK(alpha == 0);  // a BMP name never carries per-pixel alpha
  const bool loaded = surface != nullptr;
  const int width = loaded ? surface->w : 0, height = loaded ? surface->h : 0;
  SDL_FreeSurface(surface);

  const char* names[] = {"s.bmp"};
  const std::string output = folder + "out";
  unlink((output + ".pak").c_str());
  // The whole builder, with this one picture: status 0, or 1 for a refusal.
  FUZZ_CHECK(PackFile(PackMode::Write).Build(output.c_str(), NameList{1, names}) == !loaded);
  FUZZ_CHECK(access(output.c_str(), F_OK) != 0);  // the uncompressed table never stays
  FUZZ_CHECK(loaded || access((output + ".pak").c_str(), F_OK) != 0);  // a refusal packs nothing
  if (!loaded) return 0;
  PackFile reader(PackMode::Read);
  ImageSet set;
  std::string error;
  // The builder writes whatever it loads, which may need more than the game's buffers: room
  // for the count, one header and rows of at most 4 bytes a pixel plus padding.
  const size_t buffer = 4 + 31 + (4 * static_cast<size_t>(width) + 4) * height;
  if (!reader.TryLoad(set, "out", buffer, &error))
    FuzzFail(("a pack the builder wrote does not load: " + error).c_str());
  const SDL_Surface* packed = set.GetSurface(0);
  FUZZ_CHECK(set.Count() == 1 && packed->w == width && packed->h == height);
  return 0;
}
