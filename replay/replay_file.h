// The replay file: one session of the game as the game took it from the host, the same file
// on every platform. A short header (magic, format, the game's version, a digest of the
// content, the settings the session started from), then the session's records packed with
// zlib. The layout is written down for other programs in docs/replay-format.md.
#pragma once
#include <SDL/SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"

constexpr char kReplayMagic[4] = {'Z', 'R', 'P', 'L'};
constexpr uint8_t kReplayFormat = 1;
// The most a session's records may unpack to: some forty hours of play.
constexpr size_t kMaxReplayBody = 64u << 20;
constexpr size_t kMaxGameVersion = 32;

struct ReplayHeader {
  std::string gameVersion;
  uint32_t contentDigest = 0;
  uint8_t settings[kSettingsFileSize] = {};  // the settings file as the session began
};

// What one record says the game took. Each record is one call of the game's host seam, in
// the order the game made them, except the marks.
enum class RecordKind : uint8_t {
  Ticks,        // the clock read: value
  Delay,        // a delay of value ms
  NoEvents,     // value polls in a row that found no event
  PolledEvent,  // a poll that took `event` (value: its type)
  WaitedEvent,  // a wait that took `event` after `waited` ms; type 0: the wait gave none
  Keys,         // the key table read: `keys` changed since the last read
  Save,         // a settings save: value 1 when it went through, 0 when it failed
  Mark          // value 0: the end of the session; 1: a checkpoint of the screen, `digest`
};
constexpr int kRecordKinds = 8;
static_assert(static_cast<int>(RecordKind::Mark) == kRecordKinds - 1, "three bits a kind");

enum MarkValue : uint32_t { kEndMark = 0, kCheckpointMark = 1 };

struct KeyChange {
  uint16_t key;
  uint8_t down;
};

struct Record {
  RecordKind kind = RecordKind::Mark;
  uint32_t value = 0;
  uint32_t waited = 0;
  uint32_t digest = 0;
  SDL_Event event{};
  std::vector<KeyChange> keys;
};

// Appends records to a session's body as the recorder hears them. Polls that find nothing
// are counted, not written one by one.
class RecordWriter {
 public:
  void Ticks(uint32_t now);
  void Delay(uint32_t ms);
  void NoEvent() { ++pendingNoEvents; }
  void Event(const SDL_Event& event);
  void Waited(uint32_t waitedMs, const SDL_Event* event);  // null: the wait gave none
  void Keys(const std::vector<KeyChange>& changes);
  void Save(bool done);
  void Checkpoint(uint32_t digest);
  // The body so far with the end mark after it; the writer goes on.
  std::string Finished() const;
  size_t Size() const { return body.size(); }

 private:
  void Flush();
  void Put(RecordKind kind, uint32_t value);
  void PutEvent(const SDL_Event& event);
  std::string body;
  uint32_t lastTicks = 0;
  uint32_t pendingNoEvents = 0;
};

// Reads the records of a body in order. A record it cannot read stops it with a reason.
class RecordReader {
 public:
  explicit RecordReader(const std::string& body) : body(body) {}
  // The next record; false at the end of the body or on damage (then `why` says so).
  bool Next(Record& record, std::string& why);
  size_t Offset() const { return at; }

 private:
  bool Byte(uint8_t& out);
  bool Number(uint32_t& out);
  bool Value(uint8_t small, uint32_t& out);
  bool ReadEvent(uint8_t type, SDL_Event& event);
  const std::string& body;
  size_t at = 0;
  uint32_t lastTicks = 0;
};

// The whole file for a header and a finished body.
std::string PackReplay(const ReplayHeader& header, const std::string& body);

// Reads a whole file: the header, the body unpacked and every record checked to the end
// mark. False with a sentence for the player when the file cannot be played: empty, not a
// replay, of a newer format, cut short, damaged, or holding more than a replay can.
bool TryUnpackReplay(const std::string& file, ReplayHeader& header, std::string& body,
                     std::string& why);

// The sentences of the refusals, as the player reads them.
extern const char kReplayEmpty[];
extern const char kReplayNotOurs[];
extern const char kReplayCutShort[];
extern const char kReplayTooLarge[];
extern const char kReplayDamaged[];
