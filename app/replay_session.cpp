#include "app/replay_session.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "app/startup.h"
#include "platform/host.h"
#include "replay/kept_replays.h"
#include "replay/session.h"
#include "settings/settings.h"

namespace {

ReplayChoice choice{.record = false, .recordTo = {}, .replay = {}, .bestPlace = -1};
std::unique_ptr<ReplayRecorder> recorder;
std::unique_ptr<ReplayPlayer> player;

// The folder a --record file goes in takes new files.
bool FolderTakesFiles(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  return access(folder.c_str(), W_OK | X_OK) == 0;
}

bool OpenPlayer(std::string& why) {
  const std::string path = choice.bestPlace >= 0 ? BestReplayPath(choice.bestPlace) : choice.replay;
  std::string file, body;
  ReplayHeader header;
  if (!ReadReplayFile(path, file, why)) {
    if (choice.bestPlace >= 0 && access(path.c_str(), F_OK) != 0)
      why = "No replay is kept for place " + std::to_string(choice.bestPlace + 1) +
            " of the high-score table (" + path + ").";
    return false;
  }
  if (!TryUnpackReplay(file, header, body, why)) return false;
  if (header.contentDigest != ContentDigest()) {
    why =
        "This replay was played with other game content (its pictures or help text differ "
        "from this game's), so it would not play the same.";
    return false;
  }
  player = std::make_unique<ReplayPlayer>(header, std::move(body));
  UseGameInput(player.get());
  UseSettingsStorage(player.get());
  return true;
}

}  // namespace

void ChooseReplaySession(const ReplayChoice& chosen) { choice = chosen; }

std::string WhyNotBesideAnotherCopy() {
  if (!choice.replay.empty() || choice.bestPlace >= 0)
    return "The game is already running: close it to watch a replay.";
  if (!choice.recordTo.empty()) return "The game is already running: close it to record a session.";
  return {};
}

bool OpenReplaySession(std::string& why) {
  if (!choice.replay.empty() || choice.bestPlace >= 0) return OpenPlayer(why);
  if (!choice.record) return true;
  if (!choice.recordTo.empty() && !FolderTakesFiles(choice.recordTo)) {
    why = "The replay cannot be written to " + choice.recordTo + ": its folder takes no files.";
    return false;
  }
  recorder = std::make_unique<ReplayRecorder>(kGameVersion);
  UseGameInput(recorder.get());
  UseSettingsStorage(recorder.get());
  return true;
}

void ReplayScoreTaken(int place) {
  if (player) player->AtRest(false);
  if (!recorder) return;
  if (!KeepBestReplay(place, recorder->Snapshot()))
    std::fprintf(stderr, "zorblats: the replay of place %d cannot be kept in %s\n", place + 1,
                 BestReplayPath(place).c_str());
}

void ReplayTableReset() {
  if (recorder) DropBestReplays();
}

bool WriteSessionSoFar(const std::string& path) {
  if (!recorder) return false;
  // A plain write: the copy is for the moment, and the page's call must not wait on storage.
  const std::string file = recorder->Snapshot();
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}

int CloseReplaySession() {
  int status = 0;
  if (player) {
    player->AtRest(true);
    const bool same =
        player->Outcome() == ReplayOutcome::Same || player->Outcome() == ReplayOutcome::Stopped;
    std::fprintf(same ? stdout : stderr, "zorblats: %s\n", player->Verdict().c_str());
    status = same ? 0 : 1;
  }
  if (recorder) {
    const std::string file = recorder->Snapshot();
    if (!WriteReplayFile(LastReplayPath(), file))
      std::fprintf(stderr, "zorblats: the session cannot be kept in %s\n",
                   LastReplayPath().c_str());
    if (!choice.recordTo.empty() && !WriteReplayFile(choice.recordTo, file)) {
      std::fprintf(stderr, "zorblats: the replay cannot be written to %s\n",
                   choice.recordTo.c_str());
      status = 1;
    }
  }
  UseGameInput(nullptr);
  UseSettingsStorage(nullptr);
  return status;
}
