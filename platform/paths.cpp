#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

char ExeDir[kExeDirCapacity];
char DataDir[kDataDirCapacity];

// The user's folder for the settings file; empty while the game's data folder is used.
static char userSettingsFolder[kDataDirCapacity];

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

bool MakeFolders(const std::string& path) {
  for (size_t end = path.find('/', 1); ; end = path.find('/', end + 1)) {
    const std::string part = path.substr(0, end);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (end == std::string::npos) return true;
  }
}

namespace {

// The game's folder under each of the user's base folders, in the order they are tried:
// $variable when it is an absolute path (a relative one counts as unset), then $HOME
// followed by underHome.
std::vector<std::string> UserFolders(const char* variable, const char* underHome) {
  std::vector<std::string> folders;
  const char* set = std::getenv(variable);
  if (set && set[0] == '/') folders.push_back(std::string(set) + "/zorblats");
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') folders.push_back(std::string(home) + underHome + "/zorblats");
  return folders;
}

}  // namespace

static_assert(kPathCapacity == 260, "the messages below say 259 bytes");

const char* PathProblem(std::string_view hostPath) {
  if (hostPath.find('\\') != std::string_view::npos) {
    return "holds a backslash, which the game's paths take for a folder separator";
  }
  if (hostPath.size() >= kPathCapacity) return "is longer than the 259 bytes of the game's paths";
  return nullptr;
}

std::string UserFolder(const char* variable, const char* underHome) {
  const std::vector<std::string> folders = UserFolders(variable, underHome);
  return folders.empty() ? std::string() : folders.front();
}

std::string ChooseSettingsFolder(const char* settingsFileName) {
  userSettingsFolder[0] = 0;
  // A missing data folder is no installed game but a broken one (or a test program): its
  // saves fail where they always did, and nothing is made in the user's home.
  char dataFolder[4096];
  if (!HostPath(DataDir, dataFolder, sizeof dataFolder)) return {};
  if (access(dataFolder, F_OK) != 0) return {};
  // The data folder while it takes writes (a game run from its build or home folder), or
  // holds a settings file of the player's own that takes them, and the path fits.
  const std::string dataFile = std::string(dataFolder) + settingsFileName;
  std::string why = dataFile + " is longer than the 259 bytes of the game's paths";
  if (std::strlen(DataDir) + std::strlen(settingsFileName) < kPathCapacity) {
    if (access(dataFolder, W_OK) == 0 || access(dataFile.c_str(), W_OK) == 0) return {};
    why = std::string(dataFolder) + " takes no writes";
  }
  // An installed game: the first of the user's data folders in which the game can form the
  // settings file's path. A folder that cannot be made is still the place: the first save
  // then reports it.
  for (std::string folder : UserFolders("XDG_DATA_HOME", "/.local/share")) {
    const std::string file = folder + "/" + settingsFileName;
    if (const char* problem = PathProblem(file)) {
      why += "; " + file + " " + problem;
      continue;
    }
    MakeFolders(folder);
    std::snprintf(userSettingsFolder, sizeof userSettingsFolder, "%s/", folder.c_str());
    return {};
  }
  // Nowhere else to go: saves try the data folder and report their failure.
  return "no folder can keep the settings file, so the settings will not be saved: " + why;
}

const char* SettingsFolder() { return userSettingsFolder[0] ? userSettingsFolder : DataDir; }
