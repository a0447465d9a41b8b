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
//   file is rewritten where it stands, over its old bytes and then cut to length; either way
//   the saved file is then made to last (PersistSavedFile);
// - a link to a file not made yet makes that file where the link points;
// - a pipe or a device (also through a link) is written into, never replaced, without waiting
//   for a reader.
// False when it cannot be written: a file that is there but not writable, a folder, a pipe
// nobody reads, a disk that fails even the rewrite in place. The old file is then untouched, or
// after a rewrite in place cut short keeps at least its old length. False too when the saved
// file cannot be made to last: the new bytes may not outlive a crash or the page.
// Called by SaveSettings and SaveDisplayConfig.
bool SaveSmallFile(const std::string& path, const void* bytes, size_t size,
                   const char* temporaryName);

// The two steps of a save that make it last, each back end's own. The first flushes the new
// bytes before the file takes its place: the desktop syncs them to the disk; the page does
// nothing, since it stores its folder whole once the file is in place. False (errno set)
// when the disk refuses. Called by SaveSmallFile.
bool FlushSavedBytes(int fd);
// The second makes the saved file last once it is in place: on the desktop the folder's entry
// for the renamed file is synced to the disk (a file system that cannot sync folders counts as
// done); in the browser the settings folder is stored in the page's IndexedDB. False when
// that fails. SaveSmallFile calls it through the step chosen below.
bool PersistSavedFile(const std::string& path);

// Chooses the step that makes a saved file last; null restores PersistSavedFile. Tests
// install one that fails.
using PersistStep = bool (*)(const std::string& path);
void UsePersistStep(PersistStep step);
