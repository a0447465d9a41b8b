// One whole game in-process with the game's own packs, on the virtual clock: the menu, a new
// game played by holding the ship in the middle and firing until the enemies win, the
// game-over picture, a name typed on the on-screen keyboard, the settings file, and the menu
// again without a game to resume.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/driver.h"
#include "frontend/keyboard.h"
#include "frontend/name_entry.h"
#include "settings/settings.h"
#include "game/ship.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kPlayLimitMs = 30 * 60 * 1000;  // a game left alone must end well before this

// Plays the part of the player around the scripted host: fires now and then while a game
// runs, types the name once the name entry shows, and photographs the screens that matter.
class Player final : public HostInput {
 public:
  explicit Player(ScriptedHost& inner) : inner(inner) {}

  void Delay(uint32_t ms) override {
    // The game-over picture is the only three-second wait of the game.
    if (ms == 3000 && gameOverShot.empty()) gameOverShot = Screen();
    inner.Delay(ms);
  }
  uint32_t Ticks() override { return inner.Ticks(); }
  const uint8_t* KeyState() override { return inner.KeyState(); }

  int PollEvent(SDL_Event* event) override {
    if (!entryStarted && blinkCounter > 0) {
      // The name entry has drawn its field: the game is over and the score is final.
      entryStarted = true;
      finalScore = PlayerShip.score;
      inner.cursor = inner.now;
      if (typeName) typeName();
    }
    if (playing && !entryStarted && inner.Pending() == 0) {
      if (inner.now > kPlayLimitMs) {
        event->type = SDL_QUIT;  // the game did not end: give up, the checks will say so
        return 1;
      }
      // The fire key goes down every fourth frame and up two frames later.
      if (++frames % 4 == 0) {
        inner.cursor = inner.now;
        inner.KeyDown(SDLK_UP).Wait(100).KeyUp(SDLK_UP);
      }
    }
    return inner.PollEvent(event);
  }

  int WaitEvent(SDL_Event* event) override {
    if (entryStarted) menuShots.push_back(Screen());
    const int got = inner.WaitEvent(event);
    // The menu's tap on New game starts the play.
    if (got && event->type == SDL_MOUSEBUTTONDOWN && !entryStarted) playing = true;
    return got;
  }

  static std::vector<uint32_t> Screen() {
    std::vector<uint32_t> pixels(kScreenWidth * kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
      for (int x = 0; x < kScreenWidth; ++x) pixels[y * kScreenWidth + x] = ReadPixel(x, y, ScreenSurface);
    }
    return pixels;
  }

  ScriptedHost& inner;
  std::function<void()> typeName;  // scripts the taps of the name entry when it begins
  bool playing = false;
  bool entryStarted = false;
  int frames = 0;
  int32_t finalScore = -1;
  std::vector<uint32_t> gameOverShot;              // the screen during the game-over wait
  std::vector<std::vector<uint32_t>> menuShots;    // the screen at each wait after the entry
};

class WholeGameTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    // The game folder as the build made it: packs, help text, sounds, help pictures.
    const fs::path built = fs::path(ZORBLATS_GAME_DIR) / "data";
    ASSERT_TRUE(fs::exists(built / "0.pak") && fs::exists(built / "1.pak"))
        << "build the game_content target first: " << built;
    for (const fs::directory_entry& entry : fs::directory_iterator(built)) {
      fs::copy(entry.path(), fs::path(folder) / "data" / entry.path().filename());
    }
    host.idleQuitMs = kPlayLimitMs * 2;
    UseHostInput(&player);
  }

  // The screen point at the centre of the key that gives a code (either layer).
  static void KeyCentre(int code, int& x, int& y) {
    for (const KeyboardKey& key : KeyTable) {
      if (key.normal == code || key.large == code) {
        x = keyboardOrigin.x + (key.area.left + key.area.right) / 2;
        y = keyboardOrigin.y + (key.area.top + key.area.bottom) / 2;
        return;
      }
    }
    ADD_FAILURE() << "no key gives " << code;
  }
  void TapKey(int code) {
    int x = 0, y = 0;
    KeyCentre(code, x, y);
    host.Tap(x, y);
  }

  Player player{host};
};

TEST_F(WholeGameTest, ALostGameEndsInTheNameEntryAndTheTableKeepsTheName) {
  // The menu drops taps made before it shows, so the first comes after the start screen.
  host.Wait(1500).Tap(100, 70);  // New game
  player.typeName = [this] {
    host.Wait(200);
    TapKey(kShiftKey);
    for (const char* p = "zorb"; *p; ++p) TapKey(*p);
    TapKey(kBackspaceKey);
    TapKey('b');
    host.Tap(30, 215);  // Done
  };

  EXPECT_EQ(RunGame(), Quit);  // after the game, the menu's wait ends with the script

  ASSERT_TRUE(player.entryStarted) << "the game never reached the name entry";
  EXPECT_GT(player.finalScore, 0);

  // The game-over picture stood over the last frame of play for its three seconds.
  ASSERT_FALSE(player.gameOverShot.empty());
  SDL_Surface* const over = Images[kGameOver];
  ASSERT_TRUE(over->flags & SDL_SRCCOLORKEY) << "the game-over picture is drawn keyed";
  const uint32_t key = over->format->colorkey;
  const int left = 120 - over->w / 2, top = 160 - over->h / 2;
  int opaque = 0;
  for (int y = 0; y < over->h; ++y) {
    for (int x = 0; x < over->w; ++x) {
      const uint32_t pixel = ReadPixel(x, y, over);
      if (pixel == key) continue;
      ++opaque;
      ASSERT_EQ(player.gameOverShot[(top + y) * kScreenWidth + left + x], pixel)
          << "game-over picture pixel (" << x << ", " << y << ")";
    }
  }
  EXPECT_GT(opaque, 0);

  // The table and its file hold the typed name with the final score.
  EXPECT_STREQ(Settings.highScoreNames[0], "Zorb");
  EXPECT_EQ(Settings.highScores[0], player.finalScore);
  const std::vector<uint8_t> file = ReadFileBytes(folder + "data/zorblats.set");
  ASSERT_EQ(file.size(), kSettingsFileSize);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[6])), "Zorb");
  const int32_t stored = static_cast<int32_t>(file[156] | file[157] << 8 | file[158] << 16 |
                                              static_cast<uint32_t>(file[159]) << 24);
  EXPECT_EQ(stored, player.finalScore);
  EXPECT_EQ(file[156 + 4], 0) << "only one place was taken";

  // Back at the menu: exactly the menu picture, so no resume button.
  ASSERT_EQ(player.menuShots.size(), 1u);
  const std::vector<uint32_t>& menu = player.menuShots[0];
  int differing = 0;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      differing += menu[y * kScreenWidth + x] != ReadPixel(x, y, Images[kMainMenu]);
    }
  }
  EXPECT_EQ(differing, 0) << "the menu after the game is not the plain menu picture";
  // The one-shot shift was used up by the first letter.
  EXPECT_EQ(largeKeys, 0);
  EXPECT_EQ(shiftPending, 0);
}

}  // namespace
