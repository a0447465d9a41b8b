// Recording a session and playing it back, at the game's seams: the host input the game takes
// (the clock, delays, events, the key table) and the settings file. The recorder stands in
// front of the live input and the player's file and notes what they give; the player answers
// the game from a replay alone, paced at the viewer's speed, and checks that the game shows the
// same pictures at the same moments.
#pragma once
#include <cstdint>
#include <string>

#include "platform/host.h"
#include "replay/replay_file.h"
#include "settings/settings.h"

// A digest of the picture in ScreenSurface: 64-bit FNV-1a over its 16-bit pixels, four at a
// time, row by row, folded to 32 bits.
uint32_t ScreenSurfaceDigest();

// A digest of the content a session is played with: the image packs and the help text in
// DataDir (CRC-32 of data/0.pak, data/1.pak and data/story in turn).
uint32_t ContentDigest();

// Notes every answer the game gets, and the screen's digest at a delay or a wait once a
// second of the live clock. Kept in memory: nothing touches the disk during play.
class ReplayRecorder final : public HostInput, public SettingsStorage {
 public:
  ReplayRecorder(const std::string& gameVersion, HostInput& live = LiveGameInput(),
                 SettingsStorage& file = PlayerSettingsFile());
  void Delay(uint32_t ms) override;
  uint32_t Ticks() override;
  int PollEvent(SDL_Event* event) override;
  int WaitEvent(SDL_Event* event) override;
  const uint8_t* KeyState() override;
  bool Read(std::string& bytes) override;
  bool Write(const uint8_t* bytes, size_t size) override;

  // The whole file of the session so far, ending with the screen as it is now. Called when a
  // score takes a place and when the run ends.
  std::string Snapshot() const;

 private:
  void CheckpointIfDue();
  HostInput& live;
  SettingsStorage& file;
  ReplayHeader header;
  RecordWriter writer;
  uint8_t keys[SDLK_LAST] = {};
  uint32_t lastCheckpoint = 0;
};

// How a replay went, once it stopped.
enum class ReplayOutcome {
  Playing,   // not over yet
  Same,      // played to its end, the same pictures at every checkpoint
  Stopped,   // the viewer ended it, the same pictures so far
  Differed,  // played on, but a checkpoint's picture differed
  OutOfStep  // the game asked for something other than the recording holds next
};

// Plays a replay to the game. While it plays, the viewer's keys (taken from `viewer`, which
// never reaches the game): Space pauses, + or ] and - or [ change the speed (x 1/4 to x 8),
// Escape or closing the window stops. Once over, the game is closed as by the window's close
// button, with every save answered as done and nothing written.
class ReplayPlayer final : public HostInput, public SettingsStorage {
 public:
  ReplayPlayer(const ReplayHeader& header, std::string body, HostInput& viewer = LiveGameInput());
  void Delay(uint32_t ms) override;
  uint32_t Ticks() override;
  int PollEvent(SDL_Event* event) override;
  int WaitEvent(SDL_Event* event) override;
  const uint8_t* KeyState() override;
  bool Read(std::string& bytes) override;
  bool Write(const uint8_t* bytes, size_t size) override;

  // Where a session may end (a score just kept, the run's end): a replay whose records end
  // here checks its last picture and is over. At the run's end a replay that goes on is out
  // of step. Called by the replay session.
  void AtRest(bool runEnded);

  ReplayOutcome Outcome() const { return outcome; }
  // The sentence for the viewer: how the replay went, with the moment of the first difference.
  std::string Verdict() const;

 private:
  bool Expect(RecordKind kind, bool atWait);
  void CompareCheckpoint();
  void OutOfStepAt(const char* asked);
  void Pace(uint32_t ms);
  void TakeViewerKeys();
  void ShowStatus();
  void Stop(ReplayOutcome how);
  std::string Moment(uint64_t ms) const;

  ReplayHeader header;
  std::string body;
  RecordReader reader;
  HostInput& viewer;
  Record record;
  uint8_t keys[SDLK_LAST] = {};
  uint8_t noKeys[SDLK_LAST] = {};
  uint32_t clock = 0;
  uint32_t emptyPolls = 0;  // left of the current run of polls that found nothing
  uint64_t sessionMs = 0;   // delays and waits so far: the moment in the session
  double owedMs = 0;        // real time still to spend at the viewer's speed
  int speed = 2;            // index into the speeds, x 1
  bool paused = false, statusShown = false, quitGiven = false;
  ReplayOutcome outcome = ReplayOutcome::Playing;
  int checkpoints = 0;
  int firstDifference = 0;  // the checkpoint, counted from 1; 0: none
  uint64_t differedAt = 0;
  std::string outOfStep;
};
