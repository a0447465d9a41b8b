#include "replay/replay_file.h"

#include <zlib.h>

#include <cstring>

const char kReplayEmpty[] = "The replay file is empty.";
const char kReplayNotOurs[] = "This file is not a ZORBLATS replay.";
const char kReplayCutShort[] = "The replay file is cut short.";
const char kReplayTooLarge[] = "The replay file says it holds more than a replay can.";
const char kReplayDamaged[] = "The replay file is damaged.";

namespace {

// A record's first byte: its kind in the top three bits, a small value (0 to 30) in the
// others, or 31 when the value follows as a number.
constexpr uint8_t kInlineLimit = 31;
constexpr size_t kUnpackStep = 64 * 1024;

uint32_t ZigZag(int32_t v) {
  return (static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31);
}
int32_t UnZigZag(uint32_t v) { return static_cast<int32_t>((v >> 1) ^ (0u - (v & 1))); }

// Numbers are unsigned LEB128: seven bits a byte, low bits first, at most five bytes.
void PutNumber(std::string& out, uint32_t v) {
  while (v >= 0x80) {
    out += static_cast<char>((v & 0x7F) | 0x80);
    v >>= 7;
  }
  out += static_cast<char>(v);
}

void PutLittleEndian(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
}

uint32_t GetLittleEndian(const std::string& in, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<uint32_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
  return v;
}

}  // namespace

// ---- Writing ----

void RecordWriter::Put(RecordKind kind, uint32_t value) {
  const uint8_t top = static_cast<uint8_t>(static_cast<uint8_t>(kind) << 5);
  if (value < kInlineLimit) {
    body += static_cast<char>(top | value);
  } else {
    body += static_cast<char>(top | kInlineLimit);
    PutNumber(body, value);
  }
}

void RecordWriter::Flush() {
  if (pendingNoEvents == 0) return;
  Put(RecordKind::NoEvents, pendingNoEvents);
  pendingNoEvents = 0;
}

void RecordWriter::Ticks(uint32_t now) {
  Flush();
  Put(RecordKind::Ticks, ZigZag(static_cast<int32_t>(now - lastTicks)));
  lastTicks = now;
}

void RecordWriter::Delay(uint32_t ms) {
  Flush();
  Put(RecordKind::Delay, ms);
}

void RecordWriter::Event(const SDL_Event& event) {
  Flush();
  Put(RecordKind::PolledEvent, event.type);
  PutEvent(event);
}

void RecordWriter::Waited(uint32_t waitedMs, const SDL_Event* event) {
  Flush();
  Put(RecordKind::WaitedEvent, event ? event->type : uint32_t{SDL_NOEVENT});
  PutNumber(body, waitedMs);
  if (event && event->type != SDL_NOEVENT) PutEvent(*event);
}

void RecordWriter::Keys(const std::vector<KeyChange>& changes) {
  Flush();
  Put(RecordKind::Keys, static_cast<uint32_t>(changes.size()));
  for (const KeyChange& c : changes) {
    PutNumber(body, c.key);
    body += static_cast<char>(c.down);
  }
}

void RecordWriter::Save(bool done) {
  Flush();
  Put(RecordKind::Save, done ? 1 : 0);
}

void RecordWriter::Checkpoint(uint32_t digest) {
  Flush();
  Put(RecordKind::Mark, kCheckpointMark);
  PutLittleEndian(body, digest);
}

std::string RecordWriter::Finished() const {
  RecordWriter copy = *this;
  copy.Flush();
  copy.Put(RecordKind::Mark, kEndMark);
  return copy.body;
}

// The fields of each event type that SDL 1.2 fills in; types without fields are the type alone.
void RecordWriter::PutEvent(const SDL_Event& e) {
  auto bytes = [this](std::initializer_list<uint8_t> list) {
    for (uint8_t b : list) body += static_cast<char>(b);
  };
  switch (e.type) {
    case SDL_ACTIVEEVENT:
      bytes({e.active.gain, e.active.state});
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      bytes({e.key.which, e.key.state, e.key.keysym.scancode});
      PutNumber(body, e.key.keysym.sym);
      PutNumber(body, e.key.keysym.mod);
      PutNumber(body, e.key.keysym.unicode);
      break;
    case SDL_MOUSEMOTION:
      bytes({e.motion.which, e.motion.state});
      PutNumber(body, e.motion.x);
      PutNumber(body, e.motion.y);
      PutNumber(body, ZigZag(e.motion.xrel));
      PutNumber(body, ZigZag(e.motion.yrel));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      bytes({e.button.which, e.button.button, e.button.state});
      PutNumber(body, e.button.x);
      PutNumber(body, e.button.y);
      break;
    case SDL_JOYAXISMOTION:
      bytes({e.jaxis.which, e.jaxis.axis});
      PutNumber(body, ZigZag(e.jaxis.value));
      break;
    case SDL_JOYHATMOTION:
      bytes({e.jhat.which, e.jhat.hat, e.jhat.value});
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      bytes({e.jbutton.which, e.jbutton.button, e.jbutton.state});
      break;
    case SDL_VIDEORESIZE:
      PutNumber(body, static_cast<uint32_t>(e.resize.w));
      PutNumber(body, static_cast<uint32_t>(e.resize.h));
      break;
    default:
      if (e.type >= SDL_USEREVENT) PutNumber(body, static_cast<uint32_t>(e.user.code));
      break;
  }
}

std::string PackReplay(const ReplayHeader& header, const std::string& body) {
  std::string out(kReplayMagic, sizeof kReplayMagic);
  out += static_cast<char>(kReplayFormat);
  const std::string version = header.gameVersion.substr(0, kMaxGameVersion);
  out += static_cast<char>(version.size());
  out += version;
  PutLittleEndian(out, header.contentDigest);
  out.append(reinterpret_cast<const char*>(header.settings), kSettingsFileSize);
  PutLittleEndian(out, static_cast<uint32_t>(body.size()));
  uLongf packedSize = compressBound(body.size());
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
            reinterpret_cast<const Bytef*>(body.data()), body.size(), Z_BEST_COMPRESSION);
  packed.resize(packedSize);
  return out + packed;
}

// ---- Reading ----

bool RecordReader::Byte(uint8_t& out) {
  if (at >= body.size()) return false;
  out = static_cast<uint8_t>(body[at++]);
  return true;
}

bool RecordReader::Number(uint32_t& out) {
  out = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    uint8_t b;
    if (!Byte(b)) return false;
    if (shift == 28 && b > 0x0F) return false;  // more than 32 bits
    out |= static_cast<uint32_t>(b & 0x7F) << shift;
    if (!(b & 0x80)) return true;
  }
  return false;
}

bool RecordReader::Value(uint8_t small, uint32_t& out) {
  if (small < kInlineLimit) {
    out = small;
    return true;
  }
  return Number(out) && out >= kInlineLimit;  // a small value is always written inline
}

bool RecordReader::ReadEvent(uint8_t type, SDL_Event& e) {
  e = SDL_Event{};
  e.type = type;
  uint32_t a = 0, b = 0, c = 0, d = 0;
  switch (type) {
    case SDL_ACTIVEEVENT:
      return Byte(e.active.gain) && Byte(e.active.state);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (!Byte(e.key.which) || !Byte(e.key.state) || !Byte(e.key.keysym.scancode) || !Number(a) ||
          !Number(b) || !Number(c) || a >= SDLK_LAST || b > 0xFFFF || c > 0xFFFF)
        return false;
      e.key.keysym.sym = static_cast<SDLKey>(a);
      e.key.keysym.mod = static_cast<SDLMod>(b);
      e.key.keysym.unicode = static_cast<Uint16>(c);
      return true;
    case SDL_MOUSEMOTION:
      if (!Byte(e.motion.which) || !Byte(e.motion.state) || !Number(a) || !Number(b) ||
          !Number(c) || !Number(d) || a > 0xFFFF || b > 0xFFFF)
        return false;
      e.motion.x = static_cast<Uint16>(a);
      e.motion.y = static_cast<Uint16>(b);
      e.motion.xrel = static_cast<Sint16>(UnZigZag(c));
      e.motion.yrel = static_cast<Sint16>(UnZigZag(d));
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (!Byte(e.button.which) || !Byte(e.button.button) || !Byte(e.button.state) || !Number(a) ||
          !Number(b) || a > 0xFFFF || b > 0xFFFF)
        return false;
      e.button.x = static_cast<Uint16>(a);
      e.button.y = static_cast<Uint16>(b);
      return true;
    case SDL_JOYAXISMOTION:
      if (!Byte(e.jaxis.which) || !Byte(e.jaxis.axis) || !Number(a)) return false;
      e.jaxis.value = static_cast<Sint16>(UnZigZag(a));
      return true;
    case SDL_JOYHATMOTION:
      return Byte(e.jhat.which) && Byte(e.jhat.hat) && Byte(e.jhat.value);
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      return Byte(e.jbutton.which) && Byte(e.jbutton.button) && Byte(e.jbutton.state);
    case SDL_VIDEORESIZE:
      if (!Number(a) || !Number(b) || a > 0xFFFF || b > 0xFFFF) return false;
      e.resize.w = static_cast<int>(a);
      e.resize.h = static_cast<int>(b);
      return true;
    default:
      if (type >= SDL_NUMEVENTS) return false;
      if (type >= SDL_USEREVENT) {
        if (!Number(a)) return false;
        e.user.code = static_cast<int>(a);
      }
      return true;
  }
}

bool RecordReader::Next(Record& r, std::string& why) {
  const size_t start = at;
  r.waited = r.digest = 0;
  r.event = SDL_Event{};
  r.keys.clear();
  uint8_t first;
  if (!Byte(first)) return false;
  r.kind = static_cast<RecordKind>(first >> 5);
  bool good = Value(first & kInlineLimit, r.value);
  if (good) {
    switch (r.kind) {
      case RecordKind::Ticks:
        lastTicks += static_cast<uint32_t>(UnZigZag(r.value));
        r.value = lastTicks;
        break;
      case RecordKind::Delay:
        break;
      case RecordKind::NoEvents:
        good = r.value > 0;
        break;
      case RecordKind::PolledEvent:
        good = r.value < SDL_NUMEVENTS && ReadEvent(static_cast<uint8_t>(r.value), r.event);
        break;
      case RecordKind::WaitedEvent:
        good = r.value < SDL_NUMEVENTS && Number(r.waited) &&
               (r.value == SDL_NOEVENT || ReadEvent(static_cast<uint8_t>(r.value), r.event));
        break;
      case RecordKind::Keys: {
        good = r.value <= SDLK_LAST;
        for (uint32_t i = 0; good && i < r.value; ++i) {
          uint32_t key = 0;
          uint8_t down = 0;
          good = Number(key) && key < SDLK_LAST && Byte(down) && down <= 1;
          r.keys.push_back({static_cast<uint16_t>(key), down});
        }
        break;
      }
      case RecordKind::Save:
        good = r.value <= 1;
        break;
      case RecordKind::Mark:
        good = r.value == kEndMark || (r.value == kCheckpointMark && at + 4 <= body.size() &&
                                       ((r.digest = GetLittleEndian(body, at)), at += 4, true));
        break;
    }
  }
  if (!good) {
    why = std::string(kReplayDamaged) + " Its record at byte " + std::to_string(start) +
          " of the session cannot be read.";
    at = body.size();
  }
  return good;
}

bool TryUnpackReplay(const std::string& file, ReplayHeader& header, std::string& body,
                     std::string& why) {
  why.clear();
  if (file.empty()) return why = kReplayEmpty, false;
  if (file.size() < sizeof kReplayMagic ||
      std::memcmp(file.data(), kReplayMagic, sizeof kReplayMagic) != 0)
    return why = kReplayNotOurs, false;
  if (file.size() < 6) return why = kReplayCutShort, false;
  const int format = static_cast<uint8_t>(file[4]);
  if (format > kReplayFormat) {
    why = "This replay was made by a newer ZORBLATS (replay format " + std::to_string(format) +
          "; this one plays format " + std::to_string(kReplayFormat) + ").";
    return false;
  }
  const size_t versionSize = static_cast<uint8_t>(file[5]);
  if (format < 1 || versionSize > kMaxGameVersion) return why = kReplayDamaged, false;
  const size_t settingsAt = 6 + versionSize + 4;
  const size_t packedAt = settingsAt + kSettingsFileSize + 4;
  if (file.size() < packedAt) return why = kReplayCutShort, false;
  header.gameVersion = file.substr(6, versionSize);
  header.contentDigest = GetLittleEndian(file, 6 + versionSize);
  std::memcpy(header.settings, file.data() + settingsAt, kSettingsFileSize);
  const uint32_t size = GetLittleEndian(file, packedAt - 4);
  if (size > kMaxReplayBody) return why = kReplayTooLarge, false;

  // Unpacked a step at a time, so a file that lies about its size allocates no more than it
  // really unpacks to.
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return why = kReplayDamaged, false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data() + packedAt));
  z.avail_in = static_cast<uInt>(file.size() - packedAt);
  body.clear();
  int status = Z_OK;
  bool ranOut = false;  // the packed body ends before its stream does
  while (status == Z_OK) {
    const size_t have = body.size();
    const size_t step = std::min<size_t>(kUnpackStep, size - have + 1);  // one more: too long
    body.resize(have + step);
    z.next_out = reinterpret_cast<Bytef*>(body.data() + have);
    z.avail_out = static_cast<uInt>(step);
    status = inflate(&z, Z_NO_FLUSH);
    body.resize(have + step - z.avail_out);
    if (body.size() > size) status = Z_DATA_ERROR;
    ranOut = status == Z_BUF_ERROR && z.avail_in == 0;
  }
  const bool allIn = z.avail_in == 0;
  inflateEnd(&z);
  if (ranOut) return why = kReplayCutShort, false;
  if (status != Z_STREAM_END || !allIn || body.size() != size) return why = kReplayDamaged, false;

  // Every record is read once here, so a replay that starts also plays to its end mark.
  RecordReader reader(body);
  Record record;
  bool ended = false;
  while (reader.Next(record, why)) {
    if (ended) {
      why = std::string(kReplayDamaged) + " It goes on after the end of its session.";
      return false;
    }
    ended = record.kind == RecordKind::Mark && record.value == kEndMark;
  }
  if (!why.empty()) return false;
  if (!ended) return why = kReplayCutShort, false;
  return true;
}
