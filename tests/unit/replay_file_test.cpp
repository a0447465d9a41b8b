// Replay files as the player may hand them over: one that reads back record for record, and a
// table of damaged, cut short, foreign and newer ones, each refused with its sentence.
#include "replay/replay_file.h"

#include <functional>

#include "app/replay_session.h"
#include "replay/kept_replays.h"
#include "replay/session.h"
#include "tests/support/harness.h"

namespace {

// A record as text: its kind and value, and the fields of its event type.
std::string Describe(const Record& r) {
  const SDL_Event& e = r.event;
  std::string text = std::to_string(int(r.kind)) + ":" + std::to_string(r.value);
  if (r.kind == RecordKind::WaitedEvent) text += "/" + std::to_string(r.waited);
  const bool event = r.kind == RecordKind::PolledEvent || r.kind == RecordKind::WaitedEvent;
  std::vector<int> fields;
  if (event && r.value == SDL_KEYDOWN)
    fields = {e.key.keysym.scancode, e.key.keysym.sym, e.key.keysym.mod, e.key.keysym.unicode};
  if (event && r.value == SDL_MOUSEBUTTONUP)
    fields = {e.button.button, e.button.state, e.button.x, e.button.y};
  if (event && r.value == SDL_MOUSEMOTION)
    fields = {e.motion.state, e.motion.x, e.motion.y, e.motion.xrel, e.motion.yrel};
  if (event && r.value == SDL_VIDEORESIZE) fields = {e.resize.w, e.resize.h};
  if (event && r.value == SDL_USEREVENT) fields = {e.user.code};
  for (int f : fields) text += "," + std::to_string(f);
  for (const KeyChange& k : r.keys)
    text += "," + std::to_string(k.key) + "=" + std::to_string(k.down);
  if (r.digest) text += "#" + std::to_string(r.digest);
  return text + " ";
}

std::string Session() {
  RecordWriter w;
  SDL_Event key{}, tap{}, motion{}, resize{}, user{};
  key.key = {SDL_KEYDOWN, 0, SDL_PRESSED, {9, SDLK_z, KMOD_LSHIFT, 'Z'}};
  tap.button = {SDL_MOUSEBUTTONUP, 0, SDL_BUTTON_LEFT, SDL_RELEASED, 239, 319};
  motion.motion = {SDL_MOUSEMOTION, 0, 1, 5, 300, -40, 7};
  resize.resize = {SDL_VIDEORESIZE, 480, 640};
  user.user = {SDL_USEREVENT, 77, nullptr, nullptr};
  w.Ticks(1500);
  w.Ticks(1400);  // a clock that goes back
  w.Delay(50);
  w.NoEvent(), w.NoEvent(), w.NoEvent();
  w.Event(key), w.Event(tap), w.Event(motion), w.Event(user);
  w.Waited(70000, &resize);
  w.Waited(3, nullptr);
  w.Keys({{SDLK_LEFT, 1}, {SDLK_LCTRL, 1}});
  w.Save(false);
  w.Checkpoint(0xDEADBEEF);
  return w.Finished();
}

}  // namespace

TEST_F(GameTest, ReplayFilesReadBackOrAreRefusedWithTheirSentence) {
  ReplayHeader header;
  header.gameVersion = "1.0";
  const std::string body = Session();
  const std::string good = PackReplay(header, body);
  const size_t sizeAt = 6 + 3 + 4 + 211;
  auto with = [&](size_t at, char c, std::string file) { return file.replace(at, 1, 1, c); };
  const std::string damaged =
      std::string(kReplayDamaged) + " Its record at byte 0 of the session cannot be read.";
  const struct {
    std::string file, sentence;
  } kCases[] = {
      {good, ""},
      {"", kReplayEmpty},
      {"PK\3\4 and a zip archive", kReplayNotOurs},
      {with(4, 2, good),
       "This replay was made by a newer ZORBLATS (replay format 2; this one plays format 1)."},
      {good.substr(0, 100), kReplayCutShort},
      {good.substr(0, good.size() - 6), kReplayCutShort},
      {with(sizeAt + 3, '\x7f', good), kReplayTooLarge},
      {with(sizeAt, char(good[sizeAt] - 1), good), kReplayDamaged},
      {with(good.size() - 1, char(good.back() ^ 1), good), kReplayDamaged},
      {good + "x", kReplayDamaged},
      {PackReplay(header, "\xA1\x8F\x4E\x01"), damaged},  // key 9999 in the key table
      {PackReplay(header, "\x20\x3F\x05\xE0"),
       std::string(kReplayDamaged) +
           " Its record at byte 1 of the session cannot be read."},  // a delay of 5 written long
      {PackReplay(header, body + body),
       std::string(kReplayDamaged) + " It goes on after the end of its session."},
      {PackReplay(header, body.substr(0, body.size() - 1)), kReplayCutShort},
  };
  for (const auto& c : kCases) {
    ReplayHeader read;
    std::string unpacked, why = "left over";
    EXPECT_EQ(TryUnpackReplay(c.file, read, unpacked, why), c.sentence.empty());
    EXPECT_EQ(why, c.sentence) << "file of " << c.file.size() << " bytes";
  }

  std::string records;
  RecordReader reader(body);
  std::string why;
  for (Record r; reader.Next(r, why);) records += Describe(r);
  EXPECT_EQ(records,
            "0:1500 0:1400 1:50 2:3 3:2,9,122,1,90 3:6,1,0,239,319 3:4,1,5,300,-40,7 3:24,77 "
            "4:16/70000,480,640 4:0/3 5:2,276=1,306=1 6:0 7:1#3735928559 7:0 ");

  // What the run refuses before its window opens: a replay of other content, a place kept empty.
  header.contentDigest = 1;
  const std::string other = PackReplay(header, body);
  WriteFileBytes(folder + "other.zrp", std::vector<uint8_t>(other.begin(), other.end()));
  for (const auto& [replay, place, sentence] :
       {std::tuple<std::string, int, std::string>{
            folder + "other.zrp", -1,
            "This replay was played with other game content (its pictures or help text differ "
            "from this game's), so it would not play the same."},
        {"", 2,
         "No replay is kept for place 3 of the high-score table (" + BestReplayPath(2) + ")."}}) {
    ChooseReplaySession({.record = false, .recordTo = {}, .replay = replay, .bestPlace = place});
    std::string said;
    EXPECT_FALSE(OpenReplaySession(said));
    EXPECT_EQ(said, sentence);
  }
  ChooseReplaySession({.record = false, .recordTo = {}, .replay = {}, .bestPlace = -1});
}
