#include "platform/paths.h"

#include <unistd.h>

#include <cstring>

char ExeDir[kExeDirCapacity];
char DataDir[kDataDirCapacity];

static bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool DerivePaths(const char* modulePath, char* exeDir, char* dataDir) {
  const size_t length = std::strlen(modulePath);
  if (length >= kExeDirCapacity) return false;

  // DataDir: cut after the last separator (keep it), then "data\".
  size_t cut = length;
  for (size_t i = length; i > 0; --i) {
    if (IsSeparator(modulePath[i - 1])) {
      cut = i;
      break;
    }
  }
  static constexpr char kData[] = "data\\";
  if (cut + sizeof kData > kDataDirCapacity) return false;
  std::memcpy(dataDir, modulePath, cut);
  std::memcpy(dataDir + cut, kData, sizeof kData);

  // ExeDir: the path less the length of the executable's own name, not cut at a separator.
  const size_t nameLength = sizeof kExeName - 1;
  const size_t keep = length >= nameLength ? length - nameLength : 0;
  std::memcpy(exeDir, modulePath, keep);
  exeDir[keep] = 0;
  return true;
}

bool ReadModulePath(char* out, size_t capacity) {
  ssize_t got = readlink("/proc/self/exe", out, capacity);
  if (got <= 0 || static_cast<size_t>(got) >= capacity) return false;
  out[got] = 0;
  return true;
}

bool HostPath(const char* gamePath, char* out, size_t capacity) {
  size_t i = 0;
  for (; gamePath[i]; ++i) {
    if (i + 1 >= capacity) return false;
    out[i] = gamePath[i] == '\\' ? '/' : gamePath[i];
  }
  if (capacity == 0) return false;
  out[i] = 0;
  return true;
}

std::FILE* OpenGameFile(const char* gamePath, const char* mode) {
  char path[4096];
  if (!HostPath(gamePath, path, sizeof path)) return nullptr;
  return std::fopen(path, mode);
}

bool EnterFolder(const char* gameFolder) {
  char path[4096];
  if (!HostPath(gameFolder, path, sizeof path)) return false;
  return chdir(path) == 0;
}
