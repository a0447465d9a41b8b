#include "platform/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

PersistStep persistStep = nullptr;  // null: the back end's PersistSavedFile

// Writes the bytes from the start of the file, cuts it after them and flushes them. 0, or
// the error that stopped it.
int WriteAndSync(int fd, const uint8_t* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = pwrite(fd, bytes + done, size - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    done += static_cast<size_t>(n);
  }
  return ftruncate(fd, static_cast<off_t>(size)) == 0 && FlushSavedBytes(fd) ? 0 : errno;
}

// The file a save lands in: the file itself, or the file its symbolic link names, so that
// the link stays a link. A link to nothing yet must be written through in place.
std::string SaveTarget(const std::string& path, bool* linkToNothing) {
  struct stat entry {};
  *linkToNothing = false;
  if (lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  *linkToNothing = resolved == nullptr;
  const std::string target = resolved ? resolved : path;
  std::free(resolved);
  return target;
}

// A file that is there but cannot be opened for writing (read-only) is not saved; a
// missing one is made by the save.
bool MayWrite(const std::string& target) {
  const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  close(fd);
  return true;
}

// A pipe or a device takes the bytes in one write, at once: a pipe nobody reads, or too
// full, fails rather than stopping the game. A folder cannot be opened for writing.
bool WriteInto(const std::string& target, const uint8_t* bytes, size_t size) {
  const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  ssize_t n;
  do n = write(fd, bytes, size);
  while (n < 0 && errno == EINTR);
  return close(fd) == 0 && n == static_cast<ssize_t>(size);
}

enum class Replaced { Saved, Failed, NoNewFile };

// The crash-safe save: a new file beside the old one, renamed over it once it is on the
// disk. On failure the old file is untouched; NoNewFile when the folder takes no new file
// of that name (no right to make one, a folder stands on the name, no room for the bytes).
Replaced ReplaceWithNewFile(const std::string& target, const uint8_t* bytes, size_t size,
                            const char* temporaryName) {
  const std::string folder = target.substr(0, target.rfind('/') + 1);
  const std::string temporary = folder + temporaryName;
  unlink(temporary.c_str());  // a stray file or link of that name goes; a folder stays
  const int fd =
      open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return Replaced::NoNewFile;
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
  int error = WriteAndSync(fd, bytes, size);
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), target.c_str()) == 0) return Replaced::Saved;
  unlink(temporary.c_str());
  // A disk too full for a second copy still takes the bytes over the old ones.
  return error == ENOSPC || error == EDQUOT ? Replaced::NoNewFile : Replaced::Failed;
}

// Rewrites the file where it stands: for a folder that takes no new file, and through a
// link to a file not made yet. Nothing is cut before the bytes are written, so a disk that
// fills up midway leaves the file at least its old length.
bool RewriteInPlace(const std::string& target, const uint8_t* bytes, size_t size) {
  const int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const int error = WriteAndSync(fd, bytes, size);
  return close(fd) == 0 && error == 0;
}

}  // namespace

bool ReadSmallFile(const std::string& path, size_t limit, std::string& bytes) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat entry {};
  const bool regular = fstat(fd, &entry) == 0 && S_ISREG(entry.st_mode);
  bytes.resize(regular ? limit : 0);
  size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  close(fd);
  return regular;
}

bool SaveSmallFile(const std::string& path, const void* data, size_t size,
                   const char* temporaryName) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  bool linkToNothing = false;
  const std::string target = SaveTarget(path, &linkToNothing);
  struct stat entry {};
  if (stat(target.c_str(), &entry) == 0 && !S_ISREG(entry.st_mode)) {
    return WriteInto(target, bytes, size);
  }
  if (!MayWrite(target)) return false;
  const Replaced replaced =
      linkToNothing ? Replaced::NoNewFile : ReplaceWithNewFile(target, bytes, size, temporaryName);
  const bool written = replaced == Replaced::Saved ||
                       (replaced == Replaced::NoNewFile && RewriteInPlace(target, bytes, size));
  return written && (persistStep ? persistStep : PersistSavedFile)(target);
}

void UsePersistStep(PersistStep step) { persistStep = step; }
