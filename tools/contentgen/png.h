// The PNG writer of the desktop icons: 8-bit RGB, one zlib stream, no filters.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/contentgen/image.h"

// The bytes of a PNG file holding the picture. Used by icongen.
std::vector<uint8_t> EncodePng(const Image& image);
// Writes the PNG to a file; false with the reason in `error` when it cannot be written.
bool WritePng(const std::string& path, const Image& image, std::string* error);
