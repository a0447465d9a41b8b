// The run's replay: every run records its session (kept as last.zrp, and as the replay of each
// score that takes a place in the table), unless it plays a replay instead.
#pragma once
#include <string>

// What this run does with replays, as the command line asks.
struct ReplayChoice {
  bool record = true;    // record the session (every run, unless it plays a replay)
  std::string recordTo;  // --record FILE: also write the session there
  std::string replay;    // --replay FILE
  int bestPlace = -1;    // --replay best [N]: the kept replay of place 0..4
};

// Keeps the choice for start-up. Called by main; a run that never calls it (the tests)
// neither records nor plays.
void ChooseReplaySession(const ReplayChoice& choice);

// Why a run that another copy of the game keeps from starting cannot do what the command line
// asked (watch a replay, or record to a file); empty for a plain run, which ends silently.
// Called by WinMain.
std::string WhyNotBesideAnotherCopy();

// Starts the recorder, or reads and checks the replay to play and puts its player in front of
// the game's input and settings. False, with the sentence in `why`, when the replay cannot be
// played or the --record file cannot be made. Called by StartUp once the paths are known.
bool OpenReplaySession(std::string& why);

// A score took `place` in the table: the session so far is kept as that place's replay, the
// lower ones moved down. While a replay plays, its session may end here. Called by RunGame.
void ReplayScoreTaken(int place);

// The table was reset: the kept best replays are deleted. Called by RunGame.
void ReplayTableReset();

// Writes the session recorded so far to a file (a host path) at once, without the safe save's
// steps; false when no session is being recorded or the file cannot be written. Called by the
// page's "Save this replay" during play.
bool WriteSessionSoFar(const std::string& path);

// Ends the session when the run ends: writes last.zrp (and the --record file), or says how the
// replay went. The run's exit status: 1 when a file asked for could not be written or a replay
// did not show the same pictures. Called by WinMain.
int CloseReplaySession();
