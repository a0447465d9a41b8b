// A session recorded from scripted play (menus, a game lost to the swarm, a name typed into the
// table, the options saved) and played back from its file alone: every picture shown and every
// sound the same, and the player's settings file untouched. The same file with another name
// in its table is caught by its checkpoints.
#include "app/driver.h"
#include "replay/session.h"
#include "tests/support/harness.h"

namespace {

// Every flip (the digest of the screen) and every sound, in the order the game made them.
class ShownAndHeard final : public ScreenOutput, public SoundOutput {
 public:
  void Show(SDL_Surface*, const SDL_Rect& area) override {
    log.push_back(Format("%u@%d+%d", ScreenSurfaceDigest(), area.y, area.h));
  }
  void Play(const char* path) override { log.push_back(path); }
  std::vector<std::string> log;
};

class RecordedSessionTest : public ScreenTest {
 protected:
  // One run of the game from a fresh start on the given input and settings storage.
  std::vector<std::string> Run(HostInput& input, SettingsStorage& storage) {
    ShownAndHeard seen;
    UseScreenOutput(&seen);
    UseSoundOutput(&seen);
    ResetRunState();
    UseGameInput(&input);
    UseSettingsStorage(&storage);
    EXPECT_EQ(RunGame(), Quit);
    std::free(StoryText);  // each run reads the help text anew
    StoryText = nullptr;
    UseGameInput(nullptr);
    UseSettingsStorage(nullptr);
    return seen.log;
  }
};

TEST_F(RecordedSessionTest, APlayedSessionReplaysFromItsFileAloneWithEveryPictureAndSound) {
  ASSERT_EQ(std::system(("cp -r " ZORBLATS_GAME_DIR "/data " + folder).c_str()), 0);
  // Hard enemies, and a table of -1 scores that any game enters.
  Settings.difficulty = 2;
  for (int32_t& score : Settings.highScores) score = -1;
  ASSERT_TRUE(SaveSettings());
  const std::string settingsFile = folder + "data/zorblats.set";
  onPoll = [&] {  // once the name entry shows: a name, Enter; then the options, back, exit
    if (blinkCounter != 1) return;
    host.cursor = host.now + 100;
    TypeKeys(host, "Zo");
    host.Wait(300).KeyDown(SDLK_RETURN).Wait(1000).Tap(120, 105).Wait(500).Tap(60, 143);
    host.Wait(500).Tap(30, 300).Wait(500).Tap(120, 240);
  };
  // A new game: the ship walks left firing, then waits for the swarm.
  host.Wait(1500).Tap(120, 70).Wait(1200).KeyDown(SDLK_LEFT).KeyDown(SDLK_UP).Wait(600);
  host.KeyUp(SDLK_UP).Wait(400).KeyUp(SDLK_LEFT).KeyDown(SDLK_LCTRL).Wait(300).KeyUp(SDLK_LCTRL);
  ReplayRecorder recorder("test");
  const std::vector<std::string> recorded = Run(recorder, recorder);
  const std::string file = recorder.Snapshot();
  onPoll = nullptr;

  ReplayHeader header;
  std::string body, why;
  ASSERT_TRUE(TryUnpackReplay(file, header, body, why)) << why;
  const std::vector<uint8_t> saved = ReadFileBytes(settingsFile);
  ASSERT_EQ(std::string(&saved.at(6), &saved.at(8)), "zo") << "the name was typed and saved";
  std::remove(settingsFile.c_str());
  VirtualHost viewer;  // presses nothing
  viewer.pollGraceMs = 1u << 30;
  ReplayPlayer player(header, body, viewer);
  EXPECT_EQ(Run(player, player), recorded);
  player.AtRest(true);
  EXPECT_EQ(player.Outcome(), ReplayOutcome::Same) << player.Verdict();
  EXPECT_TRUE(ReadFileBytes(settingsFile).empty()) << "a replay saves nothing";

  // A name in the table the session started from: the game takes the same input, but the
  // name entry shows the name, and a checkpoint says where the pictures first differ.
  header.settings[6] = 'Q';
  ReplayPlayer other(header, body, viewer);
  Run(other, other);
  other.AtRest(true);
  EXPECT_EQ(other.Outcome(), ReplayOutcome::Differed);
  EXPECT_EQ(other.Verdict().substr(0, 48), "The replay did not show the same pictures: check");
}

}  // namespace
