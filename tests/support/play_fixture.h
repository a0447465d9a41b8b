// A fixture for the gameplay tests: the game as at program start, with the painted pictures
// (a wrong source rectangle changes the screen), and the virtual host with a player function,
// which keeps the picture shown at every wait (as runs of one colour, and a digest of each)
// and logs every sound (checking its file name) with its time.
#pragma once
#include <algorithm>

#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/game_loop.h"
#include "game/game_state.h"
#include "game/launcher.h"
#include "game/random.h"
#include "game/ship.h"
#include "tests/support/harness.h"

// The virtual host with a player: at every poll with nothing due it asks the player function
// (and from quitAt on sends SDL_QUIT). Every wait shows a picture (or a square of the ship's
// explosion): it is kept with its digest. Every sound is checked and logged with its time.
class PlayHost final : public VirtualHost, public SoundOutput {
 public:
  PlayHost() {
    onIdle = [this] {
      if (now >= quitAt)
        Send(SDL_QUIT);
      else if (player)
        player(*this);
      return true;
    };
  }
  PlayHost(const PlayHost&) = delete;
  void Delay(uint32_t ms) override {
    VirtualHost::Delay(ms);
    pictures.push_back(EncodeFrame(ShownScreen()));
    uint32_t h = 2166136261u;
    for (char c : pictures.back()) h = (h ^ uint8_t(c)) * 16777619u;
    waits.push_back(Format("shown %u %d %04x\n", now, CurrentLevel + 1, (h ^ h >> 16) & 0xffff));
  }
  void Play(const char* path) override {
    const int n = path[std::strlen(path) - 5] - '0';
    EXPECT_EQ(path, Format("%s\\data\\%d.wav", ExeDir, n));
    ++played[n & 3];
    sounds = (sounds ^ (now * 4 + n)) * 0x100000001b3ull;
  }

  std::function<void(VirtualHost&)> player;  // called at every poll with nothing due
  uint32_t quitAt = 400000;                  // a game that cannot end quits after 8000 frames
  int played[4] = {};
  unsigned long long sounds = 0xcbf29ce484222325ull;
  std::string log;                    // the record of the replay
  std::vector<std::string> waits;     // "shown <time> <level> <digest of the picture>"
  std::vector<std::string> pictures;  // and the picture of each wait, as runs of one colour
};

class PlayTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    UseHostInput(&play);
    UseSoundOutput(&play);
    RandomInRange(0, 1, 0);  // the only result is 0: the next seed is the salt alone
  }

  // Empties every slot but the given ones, which stay as the level set them up.
  static void KeepOnly(std::initializer_list<int> slots) {
    for (int i = 0; i < kFormationSlots; ++i)
      if (std::find(slots.begin(), slots.end(), i) == slots.end())
        Enemies[i].alive = Enemies[i].cell = 0;
    EnemyFormation.liveCount = int(slots.size());
  }

  PlayHost play;
};
