// The desktop's file system: where the program lives, and a save made to last on the disk.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"
#include "platform/small_file.h"

bool ReadModulePath(char* out, size_t capacity) {
  const ssize_t got = readlink("/proc/self/exe", out, capacity);
  if (got <= 0 || static_cast<size_t>(got) >= capacity) return false;
  out[got] = 0;
  return true;
}

bool FlushSavedBytes(int fd) { return fsync(fd) == 0; }

// The file's own bytes were synced before it was renamed; what is left is the folder's entry.
// A folder that cannot be opened to read, or a file system that cannot sync a folder, leaves
// nothing more to do.
bool PersistSavedFile(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;
  const bool synced = fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  close(fd);
  return synced;
}
