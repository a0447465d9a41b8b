// Writing image packs: the content table from source pictures, then its gzip compression.
#include "resources/pack_build.h"

#include <SDL/SDL_image.h>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/paths.h"
#include "resources/bitmap_file.h"
#include "resources/pack.h"

namespace {

constexpr size_t kCopyChunk = 16384;

// A host path for a game path, or the text unchanged if it is too long to translate (the
// open then fails and reports it).
std::string ToHost(const char* gamePath) {
  char host[4096];
  return HostPath(gamePath, host, sizeof host) ? std::string(host) : std::string(gamePath);
}

// "<name>: <system text>" on standard output, as the compressor reports its errors.
void ReportError(const char* name, int code) {
  const char* text = std::strerror(code);
  if (text && *text) {
    std::printf("%s: %s\n", name, text);
  } else {
    std::printf("%s: Error #%d\n", name, code);
  }
  std::fflush(stdout);
}

bool WriteAll(int fd, const void* bytes, size_t length) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  while (length > 0) {
    const ssize_t written = write(fd, p, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

void PutU32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

// Compresses one file into "<name>.pak" with the given gzip mode and deletes the input.
int CompressFile(const char* name, const char* mode) {
  const std::string inputPath = ToHost(name);
  const int input = open(inputPath.c_str(), O_RDONLY);
  if (input < 0) {
    ReportError(name, errno);
    return 1;
  }
  const std::string outputName = std::string(name) + ".pak";
  errno = 0;
  gzFile output = gzopen(ToHost(outputName.c_str()).c_str(), mode);
  if (!output) {
    ReportError(outputName.c_str(), errno ? errno : ENOMEM);
    close(input);
    return 1;
  }
  static uint8_t chunk[kCopyChunk];
  for (;;) {
    const ssize_t got = read(input, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      ReportError("fread", errno);
      close(input);
      gzclose(output);
      return 1;
    }
    if (got == 0) break;
    if (gzwrite(output, chunk, static_cast<unsigned>(got)) != static_cast<int>(got)) {
      int code = Z_OK;
      std::printf("%s: %s\n", outputName.c_str(), gzerror(output, &code));
      std::fflush(stdout);
      close(input);
      gzclose(output);
      return 1;
    }
  }
  close(input);
  if (gzclose(output) != Z_OK) {
    std::printf("%s: the gzip stream could not be finished\n", outputName.c_str());
    std::fflush(stdout);
    return 1;
  }
  unlink(inputPath.c_str());
  return 0;
}

// A pack stores no palette, so a paletted picture (1, 4 or 8 bits) is stored at 24 bits with
// its colours, and the builder says so, since the picture then takes more room in the pack.
// Every other picture keeps the depth and masks SDL gave it (12, 15, 16, 24 or 32 bits).
SDL_Surface* WithoutPalette(SDL_Surface* paletted, const char* name) {
  SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 24, 0xFF0000, 0xFF00, 0xFF, 0);
  SDL_Surface* converted = model ? SDL_ConvertSurface(paletted, model->format, SDL_SWSURFACE) : nullptr;
  if (converted) {
    std::printf("%s: paletted picture (%d bits) stored at 24 bits\n", name,
                paletted->format->BitsPerPixel);
    std::fflush(stdout);
  } else {
    std::fprintf(stderr, "Couldn't convert a paletted picture: %s\n", SDL_GetError());
  }
  if (model) SDL_FreeSurface(model);
  SDL_FreeSurface(paletted);
  return converted;
}

}  // namespace

void ImageSet::AddEntry(ImageEntry* entry) {
  auto** grown = new ImageEntry*[count + 1];
  for (int32_t i = 0; i < count; ++i) grown[i] = entries[i];
  grown[count] = entry;
  delete[] entries;
  entries = grown;
  ++count;
}

bool ImageSet::WriteContent(int fd, std::string* error) const {
  uint8_t countBytes[4];
  PutU32(countBytes, static_cast<uint32_t>(count));
  if (!WriteAll(fd, countBytes, sizeof countBytes)) {
    *error = std::strerror(errno);
    return false;
  }
  for (int32_t i = 0; i < count; ++i) {
    const ImageEntry& entry = *entries[i];
    uint8_t header[31];
    PutU32(header + 0, entry.alphaFlag);
    PutU32(header + 4, static_cast<uint32_t>(entry.width));
    PutU32(header + 8, static_cast<uint32_t>(entry.height));
    header[12] = static_cast<uint8_t>(entry.pitch);
    header[13] = static_cast<uint8_t>(entry.pitch >> 8);
    header[14] = entry.depth;
    PutU32(header + 15, entry.redMask);
    PutU32(header + 19, entry.greenMask);
    PutU32(header + 23, entry.blueMask);
    PutU32(header + 27, entry.alphaMask);
    if (!WriteAll(fd, header, sizeof header) ||
        !WriteAll(fd, entry.pixels, static_cast<size_t>(entry.pitch) * entry.height)) {
      *error = std::strerror(errno);
      return false;
    }
  }
  return true;
}

// The largest picture SDL makes a surface of (and so the largest the game can load).
constexpr int kMaxPackPictureWidth = 16383;
constexpr int kMaxPackPictureHeight = 65535;

SDL_Surface* LoadSourceImage(const char* path, uint32_t* alphaFlag) {
  const std::string host = ToHost(path);
  const size_t length = std::strlen(path);
  SDL_Surface* surface = nullptr;
  if (length > 0 && path[length - 1] == 'g') {
    // Pictures with per-pixel alpha (PNG and the like) keep it through the pack.
    *alphaFlag = 1;
    surface = IMG_Load(host.c_str());
  } else {
    *alphaFlag = 0;
    // A damaged header is refused before SDL allocates what it claims.
    SDL_RWops* stream = BitmapFileIsSane(host.c_str()) ? SDL_RWFromFile(host.c_str(), "rb") : nullptr;
    surface = stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
  }
  // SDL reads pictures wider or taller than it can make again when the game loads the pack.
  if (surface && (surface->w > kMaxPackPictureWidth || surface->h > kMaxPackPictureHeight)) {
    SDL_SetError("the picture is %d x %d pixels, more than the %d x %d a pack can hold",
                 surface->w, surface->h, kMaxPackPictureWidth, kMaxPackPictureHeight);
    SDL_FreeSurface(surface);
    surface = nullptr;
  }
  if (!surface) std::fprintf(stderr, "Couldn't load %s: %s\n", path, SDL_GetError());
  return surface;
}

int PackFile::Build(const char* outputPath, const NameList& names) {
  if (!canWrite) return 0;
  const std::string contentPath = ToHost(outputPath);
  const int fd = open(contentPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) {
    ReportError(outputPath, errno);
    return 1;
  }

  // Every source must load: a missing one would shift the numbers of all after it. The
  // loaded surfaces live in the set until the table is written.
  ImageSet set;
  for (int32_t i = 0; i < names.count; ++i) {
    char sourcePath[kPathCapacity + kDataDirCapacity];
    const int length = std::snprintf(sourcePath, sizeof sourcePath, "%s%s", DataDir, names.names[i]);
    uint32_t alphaFlag = 0;
    SDL_Surface* surface = nullptr;
    if (length < 0 || static_cast<size_t>(length) >= sizeof sourcePath) {
      std::fprintf(stderr, "Couldn't load %s%s: the path is too long\n", DataDir, names.names[i]);
    } else {
      surface = LoadSourceImage(sourcePath, &alphaFlag);
    }
    if (surface && surface->format->palette) surface = WithoutPalette(surface, names.names[i]);
    if (!surface) {
      close(fd);
      unlink(contentPath.c_str());
      return 1;
    }
    auto* entry = new ImageEntry;
    entry->surface = surface;
    entry->alphaFlag = alphaFlag;
    entry->width = surface->w;
    entry->height = surface->h;
    entry->pitch = surface->pitch;
    entry->pixels = static_cast<uint8_t*>(surface->pixels);
    entry->depth = surface->format->BitsPerPixel;
    entry->redMask = surface->format->Rmask;
    entry->greenMask = surface->format->Gmask;
    entry->blueMask = surface->format->Bmask;
    entry->alphaMask = surface->format->Amask;
    set.AddEntry(entry);
  }

  std::string error;
  const bool written = set.WriteContent(fd, &error);
  const bool closed = close(fd) == 0;
  set.FreeAll();
  if (!written || !closed) {
    std::fprintf(stderr, "Couldn't write %s: %s\n", outputPath,
                 written ? std::strerror(errno) : error.c_str());
    unlink(contentPath.c_str());
    return 1;
  }

  const char* arguments[] = {"name", "-1", "-h", "-f", outputPath};
  return PackCompressor(5, arguments);
}

int PackCompressor(int argc, const char* const* argv) {
  // Write mode, level 6, and a blank where the strategy letter goes.
  char mode[] = "wb6 ";
  int first = 1;
  for (; first < argc; ++first) {
    const char* option = argv[first];
    if (std::strcmp(option, "-f") == 0) {
      mode[3] = 'f';
    } else if (std::strcmp(option, "-h") == 0) {
      mode[3] = 'h';
    } else if (option[0] == '-' && option[1] >= '1' && option[1] <= '9' && option[2] == 0) {
      mode[2] = option[1];
    } else {
      break;
    }
  }
  for (int i = first; i < argc; ++i) {
    if (const int status = CompressFile(argv[i], mode)) return status;
  }
  return 0;
}
