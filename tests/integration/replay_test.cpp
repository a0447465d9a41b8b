// Golden replays: whole games played through the real loop on the virtual clock, by a script
// or by a player that hunts the enemies. Each replay's record (the outcome of every run of the
// loop, the enemies left, the count of each sound and a digest of all sounds with their
// times; then a short digest of the picture shown at each wait, and the last picture as runs
// of one colour) is compared with tests/golden/<name>.txt.
// Where the pictures differ, the first that differs is named and written as a PNG file
// beside the build, with the last pictures expected and shown; a run that matches keeps all
// its pictures beside the build, so that a later run that differs shows the expected one too.
//
// To regenerate the expected files after an intended change of the game's rules, run
//   ZORBLATS_UPDATE_GOLDEN=1 ctest --test-dir <build> -R replay_test
// and read the difference before committing it.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/play_fixture.h"

namespace {

// Goes for a falling gift (or, where gifts abound, for the launcher), else for the live enemy
// whose path its shot would meet nearest to its gun. It stands there with fire held, moves
// towards it without firing, and dodges an enemy shot about to hit it.
void Hunt(PlayHost& h) {
  const Formation& f = EnemyFormation;
  const int gun = PlayerShip.x + 14, v = (f.movingRight ? 1 : -1) * (1 + f.spedUp);
  int target = gun, best = 1 << 20;
  for (const Enemy& e : Enemies) {
    const int x = e.x + 11 + v * ((224 - e.y) / 9 + 2);
    if (e.alive && std::abs(x - gun) < best) {
      best = std::abs(x - gun);
      target = x;
    }
  }
  if (Launcher.movingRight && Play.launchChance > 10) target = Launcher.x + 49;
  if (Launcher.falling) target = Launcher.x + 6;
  const SDLKey held = h.keys[SDLK_LEFT] ? SDLK_LEFT : h.keys[SDLK_RIGHT] ? SDLK_RIGHT : SDLK_UP;
  const int slack = held == SDLK_UP ? 9 : 3;  // a standing ship waits longer before it moves
  SDLKey want = target > gun + slack ? SDLK_RIGHT : target < gun - slack ? SDLK_LEFT : SDLK_UP;
  for (const Enemy& e : Enemies) {
    if (e.shot.inFlight && e.shot.y > 170 && std::abs(e.shot.x - gun) < 20) {
      want = e.shot.x < gun ? SDLK_RIGHT : SDLK_LEFT;
    }
  }
  if (want == held && h.next.type == SDL_KEYDOWN) return;
  if (held != SDLK_UP && want != held) return h.Send(SDL_KEYUP, held);
  h.keys[SDLK_UP] = 0;
  h.Send(SDL_KEYDOWN, want);
}

class ReplayTest : public PlayTest {
 protected:
  // Runs the loop (coming back from the menu at once) and notes where it ended.
  int Run() {
    int result = RunGameLoop();
    while (result == OpenMenu) result = RunGameLoop();
    play.Note("end %d at %u level %d score %d lives %d\n", result, play.now, CurrentLevel + 1,
              PlayerShip.score, PlayerShip.lives);
    return result;
  }

  // Clears the level in play, then plays the next for the given time (the first again after
  // the 25th, as the driver does) and compares the record with the golden file.
  void ClearThenPlayOn(uint32_t ms, const std::string& name) {
    EXPECT_EQ(Run(), LevelCleared);
    CurrentLevel = (CurrentLevel + 1) % kLevelCount;
    StartLevel(int16_t(CurrentLevel));
    play.quitAt = play.now + ms;
    Run();
    ExpectGolden(name);
  }

  // Compares the record with tests/golden/<name>.txt, or rewrites that file on request.
  void ExpectGolden(const std::string& name) {
    play.log += "enemies ";
    for (int i = 0; i < kFormationSlots; ++i) {
      const Enemy& e = Enemies[i];
      play.log += e.exploding ? '*' : e.alive ? char('1' + e.hits) : '.';
      play.log += i % 8 < 7 ? "" : i < 47 ? "/" : "\n";
    }
    play.Note("frames %d sounds %d %d %d %d %016llx\n", play.frames, play.played[0], play.played[1],
              play.played[2], play.played[3], play.sounds);
    const std::string path = std::string(ZORBLATS_SOURCE_DIR) + "/tests/golden/" + name + ".txt";
    const std::string folder = ZORBLATS_BINARY_DIR "/Testing/golden/", stem = folder + name + "-";
    std::system(("mkdir -p " + folder).c_str());
    const std::string kept = folder + name + ".frames.gz";
    if (std::getenv("ZORBLATS_UPDATE_GOLDEN")) {
      std::ofstream(path, std::ios::trunc)
          << play.log << "shown " << play.digests << "\nlast " << play.pictures.back() << "\n";
      return KeepFrames(kept, play.digests, play.pictures);
    }
    std::ifstream file(path);
    std::string expected, digests, last;
    for (std::string line; std::getline(file, line);) {
      if (line.starts_with("shown "))
        digests = line.substr(6);
      else if (line.starts_with("last "))
        last = line.substr(5);
      else
        expected += line + "\n";
    }
    EXPECT_EQ(play.log, expected) << "replay " << name << " differs from " << path;
    if (digests == play.digests && last == play.pictures.back())
      return KeepFrames(kept, digests, play.pictures);
    // The first frame that differs (expected, where a run that matched was kept in this build,
    // and actual), the one before it (the same in both), and the last frames.
    size_t n = 0;
    while (n < play.pictures.size() && digests.compare(4 * n, 4, play.digests, 4 * n, 4) == 0) ++n;
    const std::string f = "frame" + std::to_string(n), expectedFrame = KeptFrame(kept, digests, n);
    if (n < play.pictures.size()) WriteFramePng(play.pictures[n], stem + f + "-actual.png");
    if (!expectedFrame.empty()) WriteFramePng(expectedFrame, stem + f + "-expected.png");
    if (n > 0)
      WriteFramePng(play.pictures[n - 1], stem + "frame" + std::to_string(n - 1) + "-both.png");
    WriteFramePng(last, stem + "last-expected.png");
    WriteFramePng(play.pictures.back(), stem + "last-actual.png");
    ADD_FAILURE() << "replay " << name << ": the picture shown at wait " << n << " (of "
                  << play.pictures.size() << "; " << digests.size() / 4
                  << " expected) is the first to differ; written to " << stem << ": "
                  << (expectedFrame.empty() ? "" : f + "-expected.png, ") << f
                  << "-actual.png, the one before it (the same in both) and the last pictures "
                     "shown, last-expected.png and last-actual.png"
                  << (expectedFrame.empty()
                          ? ". (No run that matched the golden file was kept in this build: run "
                            "this test once on the code that matches it, for " +
                                f + "-expected.png.)"
                          : "");
  }
};

}  // namespace

// A new game: the hunter clears the first level and plays the second. (Difficulty sets only
// the enemies' fire chance, which the rules test pins for each.)
TEST_F(ReplayTest, ClearTheFirstLevelAndPlayTheNext) {
  Settings.difficulty = 1;
  StartNewGame();
  play.player = Hunt;
  ClearThenPlayOn(30000, "clear_first_level");
}

// Level 25 cleared at speed 6, then the first level again, with score and lives kept.
TEST_F(ReplayTest, TheLastLevelWrapsToTheFirst) {
  Settings.difficulty = 1;
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
  ClearThenPlayOn(5000, "wrap_after_last_level");
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
  ClearThenPlayOn(3000, "chain_kill_ends_level");
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
  ClearThenPlayOn(60000, "gifts_on_level_five");
}

// Keys and taps by a script: both directions held, a key-up of one while the other is held,
// left control and up to fire, a tap beside the menu button, one on it, and the edges.
TEST_F(ReplayTest, KeysAndTaps) {
  StartNewGame();
  Play.launchChance = 60;  // the launcher crosses often
  play.player = [](PlayHost& h) {
    static const struct {
      int frame, type;
      SDLKey key;
      int x = 0, y = 0;
    } script[] = {{5, SDL_KEYDOWN, SDLK_LEFT},
                  {6, SDL_KEYDOWN, SDLK_RIGHT},
                  {20, SDL_KEYUP, SDLK_RIGHT},
                  {30, SDL_KEYDOWN, SDLK_a},
                  {80, SDL_KEYUP, SDLK_LEFT},
                  {85, SDL_KEYDOWN, SDLK_LCTRL},
                  {150, SDL_KEYUP, SDLK_a},
                  {160, SDL_KEYDOWN, SDLK_RIGHT},
                  {200, SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, 176, 291},
                  {220, SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, 239, 292},
                  {230, SDL_KEYUP, SDLK_LCTRL},
                  {231, SDL_KEYDOWN, SDLK_UP},
                  {250, SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, 177, 273},
                  {300, SDL_KEYDOWN, SDLK_LEFT}};
    for (const auto& s : script) {
      if (s.frame == h.frames) h.Send(uint8_t(s.type), s.key, s.x, s.y);
    }
  };
  play.quitAt = 20000;
  Run();
  ExpectGolden("keys_and_taps");
}

// The 25 levels in a row, each left at its second frame: the formation each one shows (every
// cell's strength in its own colour, in the pictures' digests) and its count of enemies.
TEST_F(ReplayTest, EveryLevelShowsItsFormation) {
  Settings.difficulty = 2;
  StartNewGame();
  play.player = [](PlayHost& h) {
    if (h.frames % 2 == 1) h.Send(SDL_QUIT);
  };
  for (int level = 0; level < kLevelCount; ++level) {
    const int enemies = EnemyFormation.liveCount;
    EXPECT_EQ(RunGameLoop(), Quit);
    play.Note("level %d enemies %d\n", CurrentLevel + 1, enemies);
    CurrentLevel = (CurrentLevel + 1) % kLevelCount;
    StartLevel(int16_t(CurrentLevel));
  }
  ExpectGolden("every_level");
}
