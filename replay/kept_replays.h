// The replays a player keeps without asking: the last session of every run, and the session of
// each score in the high-score table, kept in "replays/" beside the settings file and moved
// down with the table.
#pragma once
#include <string>

// The host path of a kept replay: "last.zrp", or "best-1.zrp" to "best-5.zrp" for places 0 to 4.
std::string LastReplayPath();
std::string BestReplayPath(int place);

// Writes a whole replay file (a temporary file beside it renamed over it), making its folder.
// False when it cannot be written. Called for last.zrp, the best places and --record.
bool WriteReplayFile(const std::string& path, const std::string& bytes);

// Reads a whole replay file; false with a sentence naming the file when it cannot be read.
bool ReadReplayFile(const std::string& path, std::string& bytes, std::string& why);

// A score took `place`: the kept files of places place..3 move down one (place 4's is lost, as
// its score is) and the session's replay takes the place. False when it cannot be written.
bool KeepBestReplay(int place, const std::string& bytes);

// The table was reset: the best places' replays are deleted.
void DropBestReplays();
