// The pack builder's side of image packs: source pictures written as a pack's table and
// compressed into "<name>.pak" (resources/pack.h reads them). Linked by the packbuilder tool,
// the tests and the fuzz targets (zorblats_packwriter), never by the game.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

// The list of source names handed to the pack builder.
struct NameList {
  int32_t count = 0;
  const char* const* names = nullptr;
};

// Builds outputPath + ".pak" from the source pictures DataDir + name, in list order; the
// uncompressed table is written to outputPath first and removed once compressed. Returns the
// exit status: 0, or 1 when a source cannot be loaded (the build stops there, since skipping
// a name would shift every later image) or a file cannot be written. Called by the
// packbuilder tool.
int BuildPack(const char* outputPath, const NameList& names);

// Loads a source picture for the builder: BMP through SDL, or (for names ending in 'g')
// a picture with per-pixel alpha through SDL_image, flagged with alpha 1. Null on failure,
// after "Couldn't load <path>: <reason>" on standard error. Called by BuildPack.
SDL_Surface* LoadSourceImage(const char* path, uint32_t* alphaFlag);

// gzip-compresses files into "<name>.pak" and deletes each input on success; options
// -1..-9 (level), -f (filtered), -h (Huffman only). Returns the exit status (0 or 1).
// Called by BuildPack.
int PackCompressor(int argc, const char* const* argv);
