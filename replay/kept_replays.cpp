#include "replay/kept_replays.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/paths.h"
#include "platform/small_file.h"
#include "replay/replay_file.h"
#include "settings/settings.h"

namespace {

constexpr int kPlaces = kHighScorePlaces;

std::string KeptFolder() {
  char host[kPathCapacity + 16];
  if (!HostPath(SettingsFolder(), host, sizeof host)) return "replays/";
  return std::string(host) + "replays/";
}

}  // namespace

std::string LastReplayPath() { return KeptFolder() + "last.zrp"; }

std::string BestReplayPath(int place) {
  return KeptFolder() + "best-" + std::to_string(place + 1) + ".zrp";
}

bool WriteReplayFile(const std::string& path, const std::string& bytes) {
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 && path[0] == '/') MakeFolders(path.substr(0, slash));
  return SaveSmallFile(path, bytes.data(), bytes.size(), (path.substr(slash + 1) + ".new").c_str());
}

bool ReadReplayFile(const std::string& path, std::string& bytes, std::string& why) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    why = "The replay " + path + " cannot be opened: " + std::strerror(errno) + ".";
    return false;
  }
  bytes.clear();
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && bytes.size() <= kMaxReplayBody)
    bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) why = "The replay " + path + " cannot be read.";
  if (bytes.size() > kMaxReplayBody) why = kReplayTooLarge;
  return why.empty();
}

bool KeepBestReplay(int place, const std::string& bytes) {
  if (place < 0 || place >= kPlaces) return false;
  // A place without a replay (its score came before replays were kept) moves down as none.
  for (int from = kPlaces - 2; from >= place; --from) {
    const std::string to = BestReplayPath(from + 1);
    if (std::rename(BestReplayPath(from).c_str(), to.c_str()) != 0) std::remove(to.c_str());
  }
  return WriteReplayFile(BestReplayPath(place), bytes);
}

void DropBestReplays() {
  for (int place = 0; place < kPlaces; ++place) std::remove(BestReplayPath(place).c_str());
}
