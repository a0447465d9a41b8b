// The player's small files (the settings file, the display config): read whole, and saved so
// that a save cut short never leaves half a file and a link the player made stays a link.
#pragma once
#include <cstddef>
#include <string>

// Up to `limit` bytes of a regular file (through links); false when it is missing, unreadable
// or no regular file (a pipe or a device holds nothing to read, and a pipe must not block the
// game). Called by LoadSettings and LoadDisplayConfig.
bool ReadSmallFile(const std::string& path, size_t limit, std::string& bytes);

// Writes the whole file, replacing what it held:
// - a regular file (or the one its symbolic link names: the link stays) is replaced by a new
//   file `temporaryName` made beside it, flushed and renamed over it; where no new file can be
//   made (a folder that takes none, a folder standing on that name, no room on the disk) the
//   file is rewritten where it stands, over its old bytes and then cut to length;
// - a link to a file not made yet makes that file where the link points;
// - a pipe or a device (also through a link) is written into, never replaced, without waiting
//   for a reader.
// False when it cannot be written: a file that is there but not writable, a folder, a pipe
// nobody reads, a disk that fails even the rewrite in place. The old file is then untouched, or
// after a rewrite in place cut short keeps at least its old length.
// Called by SaveSettings and SaveDisplayConfig.
bool SaveSmallFile(const std::string& path, const void* bytes, size_t size,
                   const char* temporaryName);
