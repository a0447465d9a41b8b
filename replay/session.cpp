#include "replay/session.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "platform/paths.h"
#include "platform/viewer_status.h"
#include "resources/draw.h"

namespace {

constexpr uint32_t kCheckpointEveryMs = 1000;
constexpr uint32_t kViewerStepMs = 20;  // the longest sleep between two looks at the viewer's keys

// The viewer's speeds in quarters: x 1/4 to x 8.
constexpr int kSpeedQuarters[] = {1, 2, 4, 8, 16, 32};
constexpr const char* kSpeedNames[] = {"1/4", "1/2", "1", "2", "4", "8"};
constexpr int kSpeeds = sizeof kSpeedQuarters / sizeof kSpeedQuarters[0];
static_assert(sizeof kSpeedNames / sizeof kSpeedNames[0] == kSpeeds);

constexpr const char* kContentFiles[] = {"0.pak", "1.pak", "story"};

// What a record holds, for the sentence of a replay out of step.
constexpr const char* kRecordNames[kRecordKinds] = {
    "the clock", "a delay",       "a poll that found nothing", "a polled event",
    "a wait",    "the key table", "a settings save",           "a mark"};

// `count` pixels (1 to 4) from `pixels` as one word, the first in the low bits.
uint64_t PixelWord(const uint8_t* pixels, int count) {
  uint64_t word = 0;
  if (std::endian::native == std::endian::little && count == 4) {
    std::memcpy(&word, pixels, sizeof word);
    return word;
  }
  for (int k = 0; k < count; ++k) {
    uint16_t pixel;
    std::memcpy(&pixel, pixels + 2 * k, sizeof pixel);
    word |= uint64_t{pixel} << (16 * k);
  }
  return word;
}

}  // namespace

uint32_t ScreenSurfaceDigest() {
  uint64_t h = 14695981039346656037ull;
  if (!ScreenSurface || ScreenSurface->format->BytesPerPixel != 2) return 0;
  // Four pixels a step: a checkpoint a second costs the play frame next to nothing.
  const int width = ScreenSurface->w;
  for (int y = 0; y < ScreenSurface->h; ++y) {
    const auto* row = static_cast<const uint8_t*>(ScreenSurface->pixels) + y * ScreenSurface->pitch;
    int x = 0;
    for (; x + 4 <= width; x += 4) h = (h ^ PixelWord(row + 2 * x, 4)) * 1099511628211ull;
    if (x < width) h = (h ^ PixelWord(row + 2 * x, width - x)) * 1099511628211ull;
  }
  return static_cast<uint32_t>(h ^ (h >> 32));
}

uint32_t ContentDigest() {
  uLong crc = crc32(0, nullptr, 0);
  for (const char* name : kContentFiles) {
    char path[kDataDirCapacity + 8];
    std::snprintf(path, sizeof path, "%s%s", DataDir, name);
    std::FILE* file = OpenGameFile(path, "rb");
    if (!file) continue;
    unsigned char buffer[16384];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
      crc = crc32(crc, buffer, static_cast<uInt>(got));
    std::fclose(file);
  }
  return static_cast<uint32_t>(crc);
}

// ---- Recording ----

ReplayRecorder::ReplayRecorder(const std::string& gameVersion, HostInput& live,
                               SettingsStorage& file)
    : live(live), file(file) {
  header.gameVersion = gameVersion;
  header.contentDigest = ContentDigest();
  EncodeSettings(SettingsRecord{}, header.settings);  // a session that never reads the file
  lastCheckpoint = live.Ticks();
}

void ReplayRecorder::CheckpointIfDue() {
  const uint32_t now = live.Ticks();
  if (now - lastCheckpoint < kCheckpointEveryMs) return;
  lastCheckpoint = now;
  writer.Checkpoint(ScreenSurfaceDigest());
}

void ReplayRecorder::Delay(uint32_t ms) {
  CheckpointIfDue();
  writer.Delay(ms);
  live.Delay(ms);
}

uint32_t ReplayRecorder::Ticks() {
  const uint32_t now = live.Ticks();
  writer.Ticks(now);
  return now;
}

int ReplayRecorder::PollEvent(SDL_Event* event) {
  const int got = live.PollEvent(event);
  if (got) {
    writer.Event(*event);
  } else {
    writer.NoEvent();
  }
  return got;
}

int ReplayRecorder::WaitEvent(SDL_Event* event) {
  CheckpointIfDue();
  const uint32_t start = live.Ticks();
  const int got = live.WaitEvent(event);
  writer.Waited(live.Ticks() - start, got ? event : nullptr);
  return got;
}

const uint8_t* ReplayRecorder::KeyState() {
  const uint8_t* now = live.KeyState();
  std::vector<KeyChange> changes;
  for (int key = 0; key < SDLK_LAST; ++key) {
    if (now[key] == keys[key]) continue;
    keys[key] = now[key] ? 1 : 0;
    changes.push_back({static_cast<uint16_t>(key), keys[key]});
  }
  writer.Keys(changes);
  return now;
}

bool ReplayRecorder::Read(std::string& bytes) {
  const bool found = file.Read(bytes);
  SettingsRecord start;
  if (found) DecodeSettings(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), start);
  EncodeSettings(start, header.settings);
  return found;
}

bool ReplayRecorder::Write(const uint8_t* bytes, size_t size) {
  const bool done = file.Write(bytes, size);
  writer.Save(done);
  return done;
}

std::string ReplayRecorder::Snapshot() const {
  RecordWriter last = writer;
  last.Checkpoint(ScreenSurfaceDigest());
  return PackReplay(header, last.Finished());
}

// ---- Playing ----

ReplayPlayer::ReplayPlayer(const ReplayHeader& header, std::string body, HostInput& viewer)
    : header(header), body(std::move(body)), reader(this->body), viewer(viewer) {}

std::string ReplayPlayer::Moment(uint64_t ms) const {
  char text[32];
  std::snprintf(text, sizeof text, "%llu:%02llu.%llu", static_cast<unsigned long long>(ms / 60000),
                static_cast<unsigned long long>(ms / 1000 % 60),
                static_cast<unsigned long long>(ms / 100 % 10));
  return text;
}

void ReplayPlayer::Stop(ReplayOutcome how) {
  if (outcome != ReplayOutcome::Playing) return;
  if (firstDifference && how != ReplayOutcome::OutOfStep) how = ReplayOutcome::Differed;
  outcome = how;
  paused = false;
  ShowStatus();
}

void ReplayPlayer::CompareCheckpoint() {
  ++checkpoints;
  if (record.digest == ScreenSurfaceDigest() || firstDifference) return;
  firstDifference = checkpoints;
  differedAt = sessionMs;
}

void ReplayPlayer::OutOfStepAt(const char* asked) {
  const bool end = record.kind == RecordKind::Mark && record.value == kEndMark;
  outOfStep =
      "The replay went out of step " + Moment(sessionMs) + " into the session: the game " + asked +
      " where the recording " +
      (end ? std::string("has ended") : "holds " + std::string(kRecordNames[int(record.kind)])) +
      ".";
  Stop(ReplayOutcome::OutOfStep);
}

// Takes the next record, which must be of the kind the game asks for; the checkpoints before
// a delay or a wait are compared on the way.
bool ReplayPlayer::Expect(RecordKind kind, bool atWait) {
  static constexpr const char* kAsked[kRecordKinds] = {
      "read the clock",      "asked for a delay",  "polled for an event", "polled for an event",
      "waited for an event", "read the key table", "saved its settings",  ""};
  if (outcome != ReplayOutcome::Playing) return false;
  std::string why;
  while (reader.Next(record, why)) {
    if (record.kind == RecordKind::Mark && record.value == kCheckpointMark && atWait) {
      CompareCheckpoint();
      continue;
    }
    const bool same = record.kind == kind ||
                      (kind == RecordKind::PolledEvent && record.kind == RecordKind::NoEvents);
    if (same) return true;
    break;
  }
  OutOfStepAt(kAsked[int(kind)]);
  return false;
}

void ReplayPlayer::AtRest(bool runEnded) {
  if (outcome != ReplayOutcome::Playing) return;
  RecordReader ahead = reader;
  Record next;
  std::string why;
  int marks = 0;
  while (ahead.Next(next, why) && next.kind == RecordKind::Mark && next.value == kCheckpointMark)
    ++marks;
  const bool ends = next.kind == RecordKind::Mark && next.value == kEndMark && emptyPolls == 0;
  if (!ends) {
    if (runEnded) {
      record = next;
      OutOfStepAt("ended");
    }
    return;
  }
  for (int i = 0; i < marks; ++i) {
    reader.Next(record, why);
    CompareCheckpoint();
  }
  reader.Next(record, why);
  Stop(ReplayOutcome::Same);
}

void ReplayPlayer::ShowStatus() {
  statusShown = true;
  std::string text = std::string("ZORBLATS replay x") + kSpeedNames[speed];
  if (paused) text += " paused";
  if (outcome != ReplayOutcome::Playing) text = "ZORBLATS replay over";
  ShowReplayStatus(text.c_str());
}

void ReplayPlayer::TakeViewerKeys() {
  if (!statusShown) ShowStatus();
  SDL_Event event;
  while (outcome == ReplayOutcome::Playing && viewer.PollEvent(&event)) {
    if (event.type == SDL_QUIT) Stop(ReplayOutcome::Stopped);
    if (event.type != SDL_KEYDOWN) continue;
    switch (event.key.keysym.sym) {
      case SDLK_ESCAPE:
        Stop(ReplayOutcome::Stopped);
        break;
      case SDLK_SPACE:
        paused = !paused;
        break;
      case SDLK_PLUS:
      case SDLK_EQUALS:
      case SDLK_KP_PLUS:
      case SDLK_RIGHTBRACKET:
        speed = std::min(speed + 1, kSpeeds - 1);
        break;
      case SDLK_MINUS:
      case SDLK_KP_MINUS:
      case SDLK_LEFTBRACKET:
        speed = std::max(speed - 1, 0);
        break;
      default:
        continue;
    }
    ShowStatus();
  }
}

// Spends `ms` of the session in real time at the viewer's speed, and as long as it is paused.
void ReplayPlayer::Pace(uint32_t ms) {
  sessionMs += ms;
  owedMs += ms * 4.0 / kSpeedQuarters[speed];
  TakeViewerKeys();
  while (outcome == ReplayOutcome::Playing && (paused || owedMs >= 1)) {
    const uint32_t step =
        paused ? kViewerStepMs : std::min<uint32_t>(kViewerStepMs, uint32_t(owedMs));
    viewer.Delay(step);
    if (!paused) owedMs -= step;
    TakeViewerKeys();
  }
}

void ReplayPlayer::Delay(uint32_t ms) {
  if (!Expect(RecordKind::Delay, true)) return;
  if (record.value != ms) return OutOfStepAt("asked for a delay of another length");
  Pace(ms);
}

uint32_t ReplayPlayer::Ticks() {
  if (Expect(RecordKind::Ticks, false)) clock = record.value;
  return clock;
}

int ReplayPlayer::PollEvent(SDL_Event* event) {
  if (outcome == ReplayOutcome::Playing && emptyPolls > 0) {
    --emptyPolls;
    TakeViewerKeys();
    return 0;
  }
  if (!Expect(RecordKind::PolledEvent, false)) {
    // Over: the game is closed as by the window's close button; polls give a quit and
    // nothing by turns, so loops that drain the queue finish.
    quitGiven = !quitGiven;
    if (!quitGiven) return 0;
    *event = SDL_Event{};
    event->type = SDL_QUIT;
    return 1;
  }
  TakeViewerKeys();
  if (record.kind == RecordKind::NoEvents) {
    emptyPolls = record.value - 1;
    return 0;
  }
  *event = record.event;
  return 1;
}

int ReplayPlayer::WaitEvent(SDL_Event* event) {
  if (!Expect(RecordKind::WaitedEvent, true)) {
    *event = SDL_Event{};
    event->type = SDL_QUIT;
    return 1;
  }
  Pace(record.waited);
  if (record.value == SDL_NOEVENT) return 0;
  *event = record.event;
  return 1;
}

const uint8_t* ReplayPlayer::KeyState() {
  if (!Expect(RecordKind::Keys, false)) return noKeys;
  for (const KeyChange& change : record.keys) keys[change.key] = change.down;
  return keys;
}

bool ReplayPlayer::Read(std::string& bytes) {
  bytes.assign(reinterpret_cast<const char*>(header.settings), kSettingsFileSize);
  return true;
}

bool ReplayPlayer::Write(const uint8_t*, size_t) {
  if (!Expect(RecordKind::Save, false)) return true;  // over: nothing is written
  return record.value == 1;
}

std::string ReplayPlayer::Verdict() const {
  const std::string count = std::to_string(checkpoints);
  switch (outcome) {
    case ReplayOutcome::Playing:
      return "The replay is playing.";
    case ReplayOutcome::Same:
      return "The replay played to its end: the same pictures at all " + count + " checkpoints.";
    case ReplayOutcome::Stopped:
      return "The replay was stopped " + Moment(sessionMs) +
             " into the session; the pictures were the same at all " + count +
             " checkpoints so far.";
    case ReplayOutcome::Differed:
      return "The replay did not show the same pictures: checkpoint " +
             std::to_string(firstDifference) + ", " + Moment(differedAt) +
             " into the session, was the first to differ.";
    case ReplayOutcome::OutOfStep:
      return outOfStep;
  }
  return {};
}
