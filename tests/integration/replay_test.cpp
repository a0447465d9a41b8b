// Golden replays: whole games played through the real loop on the virtual clock, by a script
// or by a player that hunts the enemies. Each replay's record is compared with
// tests/golden/<name>.txt: its outcome lines (every end of the loop with its result, time,
// level, score and lives; the enemies left), the count of each sound and a digest of all
// sounds with their times, then a line for each wait (its time, the level, a short digest of
// the picture shown) and the last picture as runs of one colour. A line in between gives the
// replay as a seed of the whole-game fuzzer.
// Where the pictures differ, the first that differs is named and written as a PNG file
// beside the build, with the last pictures expected and shown; a run that matches keeps all
// its pictures beside the build, so that a later run that differs shows the expected one too.
//
// After an intended change of what the game shows or plays, run
//   ZORBLATS_UPDATE_GOLDEN=1 ctest --test-dir <build> -R ReplayTest
// which compares first (writing the pictures where they differ) and then rewrites the golden
// files whose outcome lines stay; a golden whose outcome changes is rewritten only when named:
// ZORBLATS_UPDATE_GOLDEN=every_level,keys_and_taps. Read the difference before committing it.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "frontend/run_state.h"
#include "tests/support/play_fixture.h"
#include "tests/support/players.h"

namespace {

// Notes the time and level of every wait beside the digest of the picture shown then.
class WaitNotes final : public HostInput {
 public:
  explicit WaitNotes(PlayHost& play) : play(play) {}
  void Delay(uint32_t ms) override {
    play.Delay(ms);
    char line[40];
    std::snprintf(line, sizeof line, "shown %u %d %s\n", play.now, CurrentLevel + 1,
                  play.digests.substr(play.digests.size() - 4).c_str());
    lines.push_back(line);
  }
  uint32_t Ticks() override { return play.Ticks(); }
  int PollEvent(SDL_Event* event) override { return play.PollEvent(event); }
  int WaitEvent(SDL_Event* event) override { return play.WaitEvent(event); }
  const uint8_t* KeyState() override { return play.KeyState(); }

  PlayHost& play;
  std::vector<std::string> lines;  // "shown <time> <level> <digest>" for each wait
};

// A golden file's lines: the record, a line for each wait, the last picture's runs.
struct Golden {
  std::string record, last;
  std::vector<std::string> waits;
};

Golden ReadGolden(const std::string& path) {
  Golden golden;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with("shown "))
      golden.waits.push_back(line + "\n");
    else if (line.starts_with("last "))
      golden.last = line.substr(5);
    else
      golden.record += line + "\n";
  }
  return golden;
}

// The lines of a record that say how the game went (where the loop ended with its result,
// time, level, score and lives, the levels met, the enemies left): all but its last, the
// frames and sounds.
std::string Outcome(const std::string& record) { return record.substr(0, record.rfind("frames ")); }

class ReplayTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    UseHostInput(&waits);
  }

  // Runs the loop (coming back from the menu at once) and notes where it ended.
  int Run() {
    int result = RunGameLoop();
    while (result == OpenMenu) result = RunGameLoop();
    play.Note("end %d at %u level %d score %d lives %d\n", result, play.now, CurrentLevel + 1,
              PlayerShip.score, PlayerShip.lives);
    return result;
  }

  // Clears the level in play, then plays the next for the given time (the first again after
  // the 25th, as the driver does).
  void ClearThenPlayOn(uint32_t ms) {
    EXPECT_EQ(Run(), LevelCleared);
    CurrentLevel = (CurrentLevel + 1) % kLevelCount;
    StartLevel(int16_t(CurrentLevel));
    play.quitAt = play.now + ms;
    Run();
  }

  // Compares the record with tests/golden/<name>.txt; in the update mode, then rewrites it.
  void ExpectGolden(const std::string& name) {
    play.log += "enemies ";
    for (int i = 0; i < kFormationSlots; ++i) {
      const Enemy& e = Enemies[i];
      play.log += e.exploding ? '*' : e.alive ? char('1' + e.hits) : '.';
      play.log += i % 8 < 7 ? "" : i < 47 ? "/" : "\n";
    }
    play.Note("frames %d sounds %d %d %d %d %016llx\n", play.frames, play.played[0], play.played[1],
              play.played[2], play.played[3], play.sounds);
    // The replay as an input of the whole-game fuzzer, which plays from the start screen on
    // (fuzz/game_fuzzer.cpp): the options, New game after the start screen, then the player for
    // as long as this one played, in tens of ms (or a wait in ms, for no player).
    const auto* player = play.player.target<void (*)(VirtualHost&)>();
    play.Note("seed %02x 0005dc00 04784700 %02x%04x%02x\n",
              Settings.difficulty | (Settings.soundOn ? 0 : 4), player ? 13 : 0,
              player ? play.now / 10 : play.now, player && *player == PlayKeysAndTaps);
    const std::string path = std::string(ZORBLATS_SOURCE_DIR) + "/tests/golden/" + name + ".txt";
    const std::string stem = GoldenOutputFolder() + name + "-", kept = stem + "frames.gz";
    const Golden golden = ReadGolden(path);
    size_t n = 0;  // the first wait whose picture differs
    while (n < waits.lines.size() && n < golden.waits.size() && waits.lines[n] == golden.waits[n])
      ++n;
    const bool same = play.log == golden.record && n == waits.lines.size() &&
                      n == golden.waits.size() && golden.last == play.pictures.back();
    if (same) return KeepFrames(kept, play.digests, play.pictures);
    const GoldenUpdate update = GoldenUpdateFor(name);
    const std::string pictures =
        n < waits.lines.size() || n < golden.waits.size() ? WritePicturesAt(n, golden, stem) : "";
    if (update == GoldenUpdate::No ||
        (update == GoldenUpdate::KeepingOutcome && Outcome(play.log) != Outcome(golden.record))) {
      EXPECT_EQ(play.log, golden.record)
          << name << ": " << path
          << (update == GoldenUpdate::No ? ""
                                         : "; its outcome changes, so it is rewritten only "
                                           "when named: ZORBLATS_UPDATE_GOLDEN=" +
                                               name);
      if (!pictures.empty()) ADD_FAILURE() << pictures;
      return;
    }
    std::ofstream file(path, std::ios::trunc);
    file << play.log;
    for (const std::string& line : waits.lines) file << line;
    file << "last " << play.pictures.back() << "\n";
    KeepFrames(kept, play.digests, play.pictures);
    std::printf("rewrote %s. %s\n", path.c_str(), pictures.c_str());
  }

  // Writes the picture shown at wait n as shown and as expected (where a run that matched was
  // kept in this build), the one before it (the same in both) and the last pictures; says so.
  std::string WritePicturesAt(size_t n, const Golden& golden, const std::string& stem) {
    std::string digests;  // the kept frames' key: the digests of the golden run
    for (const std::string& line : golden.waits) digests += line.substr(line.size() - 5, 4);
    const std::string f = "frame" + std::to_string(n),
                      expected = KeptFrame(stem + "frames.gz", digests, n);
    if (n < play.pictures.size()) WriteFramePng(play.pictures[n], stem + f + "-actual.png");
    if (!expected.empty()) WriteFramePng(expected, stem + f + "-expected.png");
    if (n > 0)
      WriteFramePng(play.pictures[n - 1], stem + "frame" + std::to_string(n - 1) + "-both.png");
    WriteFramePng(golden.last, stem + "last-expected.png");
    WriteFramePng(play.pictures.back(), stem + "last-actual.png");
    const std::string at = n < waits.lines.size() ? waits.lines[n] : golden.waits[n];
    return "The picture at wait " + std::to_string(n) + " (" + at.substr(0, at.size() - 1) + "; " +
           std::to_string(waits.lines.size()) + " waits, " + std::to_string(golden.waits.size()) +
           " expected) is the first to differ; written to " + stem + ": " +
           (expected.empty() ? "" : f + "-expected.png, ") + f +
           "-actual.png, the one before it (the same in both) and the last pictures shown, "
           "last-expected.png and last-actual.png" +
           (expected.empty() ? ". (No run that matched the golden file was kept in this build: "
                               "run this test once on the code that matches it, for " +
                                   f + "-expected.png.)"
                             : "");
  }

  WaitNotes waits{play};
};

}  // namespace

// A new game: the hunter clears the first level and plays the second. (Difficulty sets only
// the enemies' fire chance, which the rules test pins for each.)
TEST_F(ReplayTest, ClearTheFirstLevelAndPlayTheNext) {
  Settings.difficulty = 1;
  StartNewGame();
  play.player = Hunt;
  ClearThenPlayOn(30000);
  ExpectGolden("clear_first_level");
}

// With the chain-kill gift acting, the kill of the lower of the last two enemies takes the
// one above too, without points, and ends the level.
TEST_F(ReplayTest, AChainKillTakesTheLastEnemy) {
  Settings.difficulty = 2;
  StartNewGame();
  KeepOnly({4, 12});  // strengths 3 and 2, in the top two rows
  Launcher.kind = ChainKill;
  Launcher.chainOn = Launcher.effectActive = 1;
  play.player = Hunt;
  ClearThenPlayOn(3000);
  ExpectGolden("chain_kill_ends_level");
}

// A ship that never fires, sound off, until the formation lands.
TEST_F(ReplayTest, TheFormationLands) {
  Settings.soundOn = 0;
  StartNewGame();
  PlayerShip.lives = 9;
  EnemyFormation.y = 101;
  EXPECT_EQ(Run(), GameOver);
  ExpectGolden("formation_lands");
}

// Levels 5 and 6 with the launcher crossing often: gifts shot down, hit again and caught.
TEST_F(ReplayTest, GiftsOnLevelFive) {
  Settings.difficulty = 1;
  StartNewGame();
  CurrentLevel = 4;
  StartLevel(4);
  KeepOnly({2, 5, 10, 13, 17, 22, 25, 30, 40, 47});
  Play.launchChance = 100;
  play.player = Hunt;
  ClearThenPlayOn(60000);
  ExpectGolden("gifts_on_level_five");
}

// Keys and taps by a script (PlayKeysAndTaps).
TEST_F(ReplayTest, KeysAndTaps) {
  StartNewGame();
  Play.launchChance = 60;  // the launcher crosses often
  play.player = PlayKeysAndTaps;
  play.quitAt = 20000;
  Run();
  ExpectGolden("keys_and_taps");
}

// The 25 levels in a row, each left at its second frame: the formation each one shows (every
// cell's strength in its own colour, in the pictures' digests) and its count of enemies. Then,
// a game of its own from the clock's start: level 25 cleared at speed 6, and the first level
// again with score and lives kept.
TEST_F(ReplayTest, EveryLevelShowsItsFormationAndTheLastWrapsToTheFirst) {
  Settings.difficulty = 2;
  StartNewGame();
  play.player = [](VirtualHost& h) {
    if (h.frames % 2 == 1) h.Send(SDL_QUIT);
  };
  for (int level = 0; level < kLevelCount; ++level) {
    const int enemies = EnemyFormation.liveCount;
    EXPECT_EQ(RunGameLoop(), Quit);
    play.Note("level %d enemies %d\n", CurrentLevel + 1, enemies);
    CurrentLevel = (CurrentLevel + 1) % kLevelCount;
    StartLevel(int16_t(CurrentLevel));
  }
  play.now = 0;  // a run of its own, started as the fixture starts one
  ResetRunState();
  RandomInRange(0, 1, 0);
  Settings.difficulty = 0;
  StartNewGame();
  PlayerShip.score = 900;
  PlayerShip.lives = 5;
  CurrentLevel = 24;
  StartLevel(24);
  Launcher.kind = ShipSpeed;  // a speed gift that outlasts the level: the next one ends it
  Launcher.speedOn = Launcher.effectActive = 1;
  Launcher.effectTime = 1 << 30;
  PlayerShip.speed = 6;
  play.player = Hunt;
  ClearThenPlayOn(5000);
  ExpectGolden("every_level");
}
