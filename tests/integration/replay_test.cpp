// Golden replays: whole games played through the real loop on the virtual clock, by a script
// or by a player that hunts the enemies (tests/support/players.h). Each replay's record is
// compared with tests/golden/<name>.txt: its outcome lines (every end of the loop with its
// result, time, level, score and lives; the enemies left), the count of each sound and a
// digest of all sounds with their times, the replay as a seed of the whole-game fuzzer, then a
// line for each wait (its time, the level, a short digest of the picture shown); its last
// picture is the golden picture <name>-last. Where the waits differ, the picture at the first
// that differs and the one before it are written as PNG files beside the build.
//
// After an intended change of what the game shows or plays, run
//   ZORBLATS_UPDATE_GOLDEN=1 ctest --test-dir <build> -R ReplayTest
// which compares first (writing the pictures where they differ) and then rewrites the golden
// files whose outcome lines stay; a golden whose outcome changes is rewritten only when named:
// ZORBLATS_UPDATE_GOLDEN=every_level,keys_and_taps. Read the difference before committing it.
#include "tests/support/play_fixture.h"
#include "tests/support/players.h"

namespace {

class ReplayTest : public PlayTest {
 protected:
  // Runs the loop (coming back from the menu at once) and notes where it ended.
  int Run() {
    int result = RunGameLoop();
    while (result == OpenMenu) result = RunGameLoop();
    play.log += Format("end %d at %u level %d score %d lives %d\n", result, play.now,
                       CurrentLevel + 1, PlayerShip.score, PlayerShip.lives);
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
    play.log += Format("frames %d sounds %d %d %d %d %016llx\n", play.frames, play.played[0],
                       play.played[1], play.played[2], play.played[3], play.sounds);
    // The replay as an input of the whole-game fuzzer, which plays from the start screen on
    // (fuzz/game_fuzzer.cpp): the options, New game after the start screen, then the player for
    // as long as this one played, in tens of ms (or a wait in ms, for no player).
    const auto* player = play.player.target<void (*)(VirtualHost&)>();
    play.log += Format("seed %02x 0005dc00 04784700 %02x%04x%02x\n",
                       Settings.difficulty | (Settings.soundOn ? 0 : 4), player ? 13 : 0,
                       player ? play.now / 10 : play.now, player && *player == PlayKeysAndTaps);
    const std::string path = std::string(ZORBLATS_SOURCE_DIR) + "/tests/golden/" + name + ".txt";
    std::string golden, shown = play.log, line;
    std::getline(std::ifstream(path), golden, '\0');
    for (const std::string& wait : play.waits) shown += wait;
    EXPECT_TRUE(IsGoldenPicture(name + "-last", play.pictures.back()));
    if (shown == golden) return;
    // The first wait whose line differs: its picture and the one before it, as PNG files.
    const std::string record = golden.substr(0, golden.find("shown "));
    std::istringstream waits(golden.substr(record.size()));
    size_t n = 0;
    while (n < play.waits.size() && std::getline(waits, line) && line + "\n" == play.waits[n]) ++n;
    const auto png = [&](size_t k) {
      return WriteFramePng(play.pictures[k], name + "-wait" + std::to_string(k) + ".png");
    };
    std::string pictures = "the waits are the golden file's";
    if (n < play.waits.size() || std::getline(waits, line)) {
      pictures = "the waits differ from wait " + std::to_string(n) + " on";
      if (n < play.waits.size())
        pictures += " (time, level, digest: " + play.waits[n].substr(6, play.waits[n].size() - 7) +
                    "), its picture: " + png(n);
      if (n > 0) pictures += ", the one before it: " + png(n - 1);
    }
    // The outcome: where the loop ended with its result, time, level, score and lives, the
    // levels met, the enemies left (all but the frames and sounds).
    const auto outcome = [](const std::string& r) { return r.substr(0, r.rfind("frames ")); };
    const GoldenUpdate update = GoldenUpdateFor(name);
    if (update == GoldenUpdate::Any ||
        (update == GoldenUpdate::KeepingOutcome && outcome(play.log) == outcome(record))) {
      std::ofstream(path, std::ios::trunc) << shown;
      std::printf("rewrote %s; %s\n", path.c_str(), pictures.c_str());
      return;
    }
    const std::string named =
        "; its outcome changes, so it is rewritten only when named: "
        "ZORBLATS_UPDATE_GOLDEN=" +
        name;
    EXPECT_EQ(play.log, record) << name << ": " << path
                                << (update == GoldenUpdate::No ? "" : named);
    ADD_FAILURE() << name << ": " << pictures;
  }
};

}  // namespace

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
    play.log += Format("level %d enemies %d\n", CurrentLevel + 1, enemies);
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
