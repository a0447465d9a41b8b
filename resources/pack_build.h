// The pack builder's side of image packs: source pictures written as a pack's table and
// compressed into "<name>.pak" by PackFile::Build (resources/pack.h, which also reads them).
// Linked by the packbuilder tool, the tests and the fuzz targets (zorblats_packwriter), never
// by the game.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

#include "resources/pack.h"

// The list of source names handed to the pack builder.
struct NameList {
  int32_t count = 0;
  const char* const* names = nullptr;
};

// Loads a source picture for the builder: BMP through SDL, or (for names ending in 'g')
// a picture with per-pixel alpha through SDL_image, flagged with alpha 1. Null on failure,
// after "Couldn't load <path>: <reason>" on standard error. Called by PackFile::Build.
SDL_Surface* LoadSourceImage(const char* path, uint32_t* alphaFlag);

// gzip-compresses files into "<name>.pak" and deletes each input on success; options
// -1..-9 (level), -f (filtered), -h (Huffman only). Returns the exit status (0 or 1).
// Called by PackFile::Build.
int PackCompressor(int argc, const char* const* argv);
