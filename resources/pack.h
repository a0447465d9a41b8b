// Image packs: a gzip file (or the bare table) holding raw images, read into display surfaces.
// The pack builder writes them: its members here (Build, AddEntry, WriteContent) are defined
// in pack_build.cpp with the rest of resources/pack_build.h, linked by the builder, never by
// the game.
#pragma once
#include <SDL/SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>

struct NameList;

// A pack file object made to read (the game) or to write (the builder); one made to write
// loads nothing, one made to read builds nothing.
enum class PackMode : int { Write = 0, Read = 1 };

// One stored image: its layout as the source surface held it, and its display surface.
struct ImageEntry {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t pitch = 0;
  uint8_t* pixels = nullptr;  // only while the builder writes the entry
  uint8_t depth = 0;
  uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
  SDL_Surface* surface = nullptr;  // owned by the entry
  uint32_t alphaFlag = 0;
};

// The images of one pack, in table order.
class ImageSet {
 public:
  ImageSet() = default;
  ImageSet(const ImageSet&) = delete;
  ImageSet& operator=(const ImageSet&) = delete;
  ~ImageSet();  // frees what FreeAll has not

  // Decodes a content table of `size` bytes into display surfaces. False, with the reason
  // in `error`, when the content is damaged; the set is then left empty. Used by PackFile.
  bool ParseContent(const uint8_t* content, size_t size, std::string* error);
  // The display surface of entry index (0 <= index < Count()), owned by the set.
  SDL_Surface* GetSurface(int32_t index) const;
  // Number of entries.
  int32_t Count() const { return count; }
  // Frees every display surface and entry; the set is empty afterwards.
  void FreeAll();

  // The pack builder's: takes an entry (owned from then on, its surface too). Called by Build.
  void AddEntry(ImageEntry* entry);
  // The pack builder's: writes the table to an open file descriptor; false, with the reason,
  // if a write fails. Called by Build.
  bool WriteContent(int fd, std::string* error) const;

 private:
  int32_t count = 0;
  ImageEntry** entries = nullptr;
};

// The pack's file name: ExeDir + name + ".pak" as a host path. False if it does not fit the
// game's 260-byte path limit. Used by PackFile::Load and LoadImages' messages.
bool PackFilePath(const char* name, std::string* hostPath);

class PackFile {
 public:
  explicit PackFile(PackMode mode);

  // Reads the pack ExeDir + name + ".pak" into an empty set, with a content buffer of
  // bufferSize bytes. A missing or damaged pack stops the game with a message naming the
  // file and what is wrong. Called by RunGame (start screen) and LoadImages.
  void Load(ImageSet& set, const char* name, size_t bufferSize);
  // The same without stopping: false with the reason in `error` (the set is then empty);
  // true with nothing loaded when the object was not made for reading. Used by the tests and
  // the fuzz targets.
  bool TryLoad(ImageSet& set, const char* name, size_t bufferSize, std::string* error);

  // The pack builder's: builds outputPath + ".pak" from the source pictures DataDir + name, in
  // list order; the uncompressed table is written to outputPath first and removed once
  // compressed. Returns the exit status: 0, or 1 when a source cannot be loaded (the build
  // stops there, since skipping a name would shift every later image) or a file cannot be
  // written. Does nothing (status 0) unless made in Write mode. Called by the packbuilder tool.
  int Build(const char* outputPath, const NameList& names);

 private:
  bool canWrite = false;
  bool canRead = false;
};
