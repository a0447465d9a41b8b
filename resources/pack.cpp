// Reading image packs: one gzip stream holding a table of raw images, each converted once
// into the screen's pixel format. zlib reads a file that is not gzip as it stands, so a
// table written without compression loads the same way.
#include "resources/pack.h"

#include <zlib.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/message_box.h"
#include "platform/paths.h"

namespace {

constexpr size_t kEntryHeaderSize = 31;

// Walks the content table; every read is checked against the bytes that are really there.
struct ContentReader {
  const uint8_t* content;
  size_t size;
  size_t offset = 0;

  size_t Remaining() const { return size - offset; }
  uint32_t U32() {
    const uint8_t* p = content + offset;
    offset += 4;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
  }
  uint16_t U16() {
    const uint8_t* p = content + offset;
    offset += 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
  }
  uint8_t U8() { return content[offset++]; }
};

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

}  // namespace

ImageSet::~ImageSet() { FreeAll(); }

SDL_Surface* ImageSet::GetSurface(int32_t index) const {
  if (index < 0 || index >= count) return nullptr;
  return entries[index]->surface;
}

void ImageSet::FreeAll() {
  for (int32_t i = 0; i < count; ++i) {
    if (entries[i]->surface) SDL_FreeSurface(entries[i]->surface);
    delete entries[i];
  }
  delete[] entries;
  entries = nullptr;
  count = 0;
}

bool ImageSet::ParseContent(const uint8_t* content, size_t size, std::string* error) {
  FreeAll();
  ContentReader in{content, size};
  if (in.Remaining() < 4) {
    *error = Format("the content is %zu bytes long, too short for its image count", size);
    return false;
  }
  const uint32_t claimed = in.U32();
  const size_t mostThatFit = in.Remaining() / kEntryHeaderSize;
  if (claimed > mostThatFit) {
    *error = Format("the content claims %u images, but its %zu bytes can hold at most %zu", claimed,
                    size, mostThatFit);
    return false;
  }

  // Entries are counted in as they are made, so a failure part way frees exactly those.
  entries = new ImageEntry*[claimed > 0 ? claimed : 1];
  for (uint32_t i = 0; i < claimed; ++i) {
    if (in.Remaining() < kEntryHeaderSize) {
      *error = Format("image %u is cut short in its header at byte %zu", i, in.offset);
      FreeAll();
      return false;
    }
    auto* entry = new ImageEntry;
    entries[count++] = entry;
    entry->alphaFlag = in.U32();
    entry->width = static_cast<int32_t>(in.U32());
    entry->height = static_cast<int32_t>(in.U32());
    entry->pitch = in.U16();
    entry->depth = in.U8();
    entry->redMask = in.U32();
    entry->greenMask = in.U32();
    entry->blueMask = in.U32();
    entry->alphaMask = in.U32();

    if (entry->width <= 0 || entry->height <= 0) {
      *error = Format("image %u has the impossible size %d x %d", i, entry->width, entry->height);
      FreeAll();
      return false;
    }
    if (entry->depth < 1 || entry->depth > 32) {
      *error = Format("image %u has a depth of %u bits per pixel (1 to 32 expected)", i,
                      entry->depth);
      FreeAll();
      return false;
    }
    // Below 8 bits the pixels are packed into bytes; from 8 on each takes whole bytes, as
    // SDL keeps them (15 bits in 2 bytes, 24 in 3).
    const uint64_t width = static_cast<uint64_t>(entry->width);
    const uint64_t rowBytes =
        entry->depth < 8 ? (width * entry->depth + 7) / 8 : width * ((entry->depth + 7) / 8);
    if (entry->pitch < rowBytes) {
      *error = Format("image %u has rows of %u bytes, too short for %d pixels of %u bits", i,
                      entry->pitch, entry->width, entry->depth);
      FreeAll();
      return false;
    }
    // At most 65535 x (2^31 - 1): the product always fits 64 bits.
    const uint64_t pixelBytes = static_cast<uint64_t>(entry->pitch) * entry->height;
    if (pixelBytes > in.Remaining()) {
      *error = Format("image %u needs %llu bytes of pixels, but only %zu remain in the content", i,
                      static_cast<unsigned long long>(pixelBytes), in.Remaining());
      FreeAll();
      return false;
    }

    // The surface is made over a copy of the pixels, converted, and the copy let go.
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[pixelBytes]);
    std::memcpy(pixels.get(), content + in.offset, pixelBytes);
    in.offset += pixelBytes;
    SDL_Surface* temporary = SDL_CreateRGBSurfaceFrom(
        pixels.get(), entry->width, entry->height, entry->depth, entry->pitch, entry->redMask,
        entry->greenMask, entry->blueMask, entry->alphaMask);
    if (!temporary) {
      *error = Format("image %u (%d x %d, %u bits, masks %08X %08X %08X %08X) cannot be made: %s",
                      i, entry->width, entry->height, entry->depth, entry->redMask,
                      entry->greenMask, entry->blueMask, entry->alphaMask, SDL_GetError());
      FreeAll();
      return false;
    }
    entry->surface =
        entry->alphaFlag ? SDL_DisplayFormatAlpha(temporary) : SDL_DisplayFormat(temporary);
    SDL_FreeSurface(temporary);
    if (!entry->surface) {
      *error = Format("image %u cannot be converted to the screen's format: %s", i, SDL_GetError());
      FreeAll();
      return false;
    }
  }
  return true;
}

bool PackFilePath(const char* name, std::string* hostPath) {
  char gamePath[kPathCapacity];
  const int length = std::snprintf(gamePath, sizeof gamePath, "%s%s.pak", ExeDir, name);
  if (length < 0 || static_cast<size_t>(length) >= sizeof gamePath) return false;
  char translated[kPathCapacity];
  if (!HostPath(gamePath, translated, sizeof translated)) return false;
  // Doubled separators are harmless to open, but the path also goes into messages.
  hostPath->clear();
  for (const char* c = translated; *c; ++c) {
    if (*c == '/' && !hostPath->empty() && hostPath->back() == '/') continue;
    hostPath->push_back(*c);
  }
  return true;
}

PackFile::PackFile(PackMode mode)
    : canWrite(mode == PackMode::Write), canRead(mode == PackMode::Read) {}

bool PackFile::TryLoad(ImageSet& set, const char* name, size_t bufferSize, std::string* error) {
  if (!canRead) return true;
  set.FreeAll();

  std::string path;
  if (!PackFilePath(name, &path)) {
    *error = Format("the image pack path %s%s.pak is longer than %zu bytes", ExeDir, name,
                    kPathCapacity - 1);
    return false;
  }
  if (bufferSize == 0 || bufferSize >= static_cast<size_t>(INT_MAX)) {
    *error = Format("the image pack %s cannot be read with a buffer of %zu bytes", path.c_str(),
                    bufferSize);
    return false;
  }

  errno = 0;
  gzFile file = gzopen(path.c_str(), "r");
  if (!file) {
    *error = Format("the image pack %s cannot be opened: %s", path.c_str(),
                    errno ? std::strerror(errno) : "out of memory");
    return false;
  }
  std::unique_ptr<uint8_t[]> content(new uint8_t[bufferSize]);
  const int got = gzread(file, content.get(), static_cast<unsigned>(bufferSize));
  // One byte more than the buffer holds tells a pack that would be cut off.
  uint8_t beyond = 0;
  const int more = got == static_cast<int>(bufferSize) ? gzread(file, &beyond, 1) : 0;
  int zlibError = Z_OK;
  const std::string zlibText = got < 0 || more < 0 ? gzerror(file, &zlibError) : "";
  const int closed = gzclose(file);

  if (got < 0 || more < 0) {
    // zlib's text starts with the path; the message names it once.
    const std::string prefix = path + ": ";
    const std::string reason =
        zlibText.compare(0, prefix.size(), prefix) == 0 ? zlibText.substr(prefix.size()) : zlibText;
    *error = Format("the image pack %s is damaged: %s", path.c_str(), reason.c_str());
    return false;
  }
  if (closed != Z_OK) {
    *error = Format("the image pack %s is damaged: its gzip stream is %s", path.c_str(),
                    closed == Z_BUF_ERROR ? "cut short" : "unreadable");
    return false;
  }
  if (more > 0) {
    *error = Format("the image pack %s holds more than the %zu bytes its reader allows",
                    path.c_str(), bufferSize);
    return false;
  }
  std::string what;
  if (!set.ParseContent(content.get(), static_cast<size_t>(got), &what)) {
    *error = Format("the image pack %s is damaged: %s", path.c_str(), what.c_str());
    return false;
  }
  return true;
}

void PackFile::Load(ImageSet& set, const char* name, size_t bufferSize) {
  std::string error;
  if (!TryLoad(set, name, bufferSize, &error)) {
    error[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(error[0])));
    StopWithMessage(error.c_str());
  }
}
