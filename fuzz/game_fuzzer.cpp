// Plays the whole game: RunGame from the start screen on, with the built content, on a host
// whose virtual clock and events come from the input, where the golden replays' players may
// play too (tests/support/players.h). At every play frame and whenever the game waits it
// checks the game's rules and the settings file; once the input is used up the player lets
// go of every button and key and closes the window at every screen, and the game must return
// within kClosingMs of virtual time. The budget lets a player clear a level or lose a game.
// Every golden replay (tests/golden/*.txt) gives a seed in this format, its "seed" line:
// fuzz/make_corpus.sh writes them into the seed corpus.
//
// Input: one start byte, then records of four bytes [op, a, b, c], each an event after a wait
// of (op >> 4) x 10 ms. Events beyond kInputMs of virtual time are dropped, and so is the
// rest of the input once the game has paused kDelayBudget times (play frames, name-entry
// passes): every input's work stays bounded.
//   start: bits 0-1 the difficulty in the file (0, 1, 2, or 7: out of range), bit 2 sound off,
//     bit 3 five scores in the table; no file (a first start) when bits 0-3 are all 0. Bit 4:
//     a folder stands where the settings file goes, so every save fails.
//   (op & 15) % 14:
//     0     a wait of a x 256 + b ms
//     1-4   stylus press, release, motion, tap (press and release) at x = (a + 256 (c & 1)) % 240,
//           y = (b + 128 (c & 2)) % 320, button 1 + (c >> 2) % 5
//     5-7   key down, up, press (down and up) of kKeys[a % 16], character b & 127, Shift held
//           with c & 1
//     8     focus: gained a & 1, state b & 7 (mouse, keyboard, shown)
//     9     pad button a % 16, pressed with b & 1
//     10    pad hat at a & 15
//     11    pad stick axis a & 1 at the 16-bit value b x 256 + c
//     12    the window's close button
//     13    a golden replay's player plays for (a x 256 + b) x 10 ms: the hunter (c even) or
//           the keys-and-taps script (c odd, by the count of play frames); later events wait
//           for its end
#include <SDL/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <string>

#include "app/driver.h"
#include "frontend/run_state.h"
#include "fuzz/fuzz_support.h"
#include "game/formation.h"
#include "game/game_state.h"
#include "game/ship.h"
#include "platform/gamepad.h"
#include "platform/host.h"
#include "platform/small_file.h"
#include "settings/settings.h"
#include "tests/support/players.h"

namespace {

constexpr uint32_t kInputMs = 300000;   // the input's events reach at most this far
constexpr int kDelayBudget = 2500;      // pauses (play frames, name entry passes) per input
constexpr uint32_t kClosingMs = 15000;  // from the input's end until RunGame returns
constexpr uint32_t kFrameMs = 50;       // every play frame (and explosion step) ends so
constexpr SDLKey kKeys[16] = {SDLK_UP,    SDLK_DOWN,     SDLK_LEFT,      SDLK_RIGHT,
                              SDLK_SPACE, SDLK_LCTRL,    SDLK_RETURN,    SDLK_ESCAPE,
                              SDLK_p,     SDLK_TAB,      SDLK_BACKSPACE, SDLK_y,
                              SDLK_n,     SDLK_KP_ENTER, SDLK_a,         SDLK_LSHIFT};

std::string SettingsPath() { return FuzzFolder() + "data/" + kSettingsFileName; }

// The settings file, once saved, is 211 bytes with its scores from the highest down. Returns
// what it holds: the defaults while it is not saved yet or a folder stands in its place.
SettingsRecord SettingsFile() {
  SettingsRecord saved;
  std::string bytes;
  if (!ReadSmallFile(SettingsPath(), 4096, bytes)) return saved;
  FUZZ_CHECK(bytes.size() == kSettingsFileSize);
  DecodeSettings(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), saved);
  for (int p = 1; p < kHighScorePlaces; ++p)
    FUZZ_CHECK(saved.highScores[p] <= saved.highScores[p - 1]);
  return saved;
}

// The virtual host with the input's events as its script and the players' turns, ending where
// the input ends, and the rules checked as the game pauses and waits.
class FuzzHost final : public VirtualHost {
 public:
  FuzzHost() {
    pollGraceMs = 0;
    onIdle = [this] { return PlayerTurn(); };
    // A loop that polls without pausing (the stylus held on a key) lets 100 ms go by every
    // hundred polls, so that a press held for minutes of the input costs a fraction of a second.
    busyPollMs = 100;
    onPoll = [this] {
      Watch();
      waiting = false;
    };
    onWait = [this] {
      menuSeen = waiting = true;
      SettingsFile();
      Watch();
    };
    // Every pause is work for the fuzzer: past the budget, the input counts as used up.
    onDelay = [this](uint32_t ms) {
      if (++delays == kDelayBudget) {
        DropScript();
        turns.clear();
      }
      if (ms == kFrameMs) PlayFrame();
      SettingsFile();
      Watch();
    };
  }

  // Reads the records into timed events.
  void Load(const uint8_t* data, size_t size) {
    uint32_t at = 0;
    for (size_t i = 0; i + 4 <= size; i += 4) {
      const uint8_t op = data[i], a = data[i + 1], b = data[i + 2], c = data[i + 3];
      const int kind = (op & 15) % 14;
      at += (op >> 4) * 10u + (kind == 0 ? a * 256u + b : 0);
      if (at > kInputMs) break;
      cursor = at;
      if (kind == 13) {  // the next record's time counts from the turn's end
        at = std::min(at + (a * 256u + b) * 10, kInputMs);
        turns.push_back({cursor, at, c & 1});
      }
      const int x = (a + 256 * (c & 1)) % 240, y = (b + 128 * (c & 2)) % 320;
      const uint8_t button = 1 + (c >> 2) % 5, pressed = b & 1;
      const SDL_keysym key{0, kKeys[a % 16], c & 1 ? KMOD_LSHIFT : KMOD_NONE, uint16_t(b & 127)};
      if (kind == 1 || kind == 4) Press(x, y, button);  // a tap lets go at once
      if (kind == 2 || kind == 4) Release(x, y, button);
      if (kind == 3) Motion(x, y);
      if (kind == 5 || kind == 7) Push({.key = {SDL_KEYDOWN, 0, SDL_PRESSED, key}});
      if (kind == 6 || kind == 7) KeyUp(key.sym);
      if (kind == 8) Push({.active = {SDL_ACTIVEEVENT, uint8_t(a & 1), uint8_t(b & 7)}});
      if (kind == 9)
        Push({.jbutton = {uint8_t(pressed ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP), 0,
                          uint8_t(a % 16), pressed}});
      if (kind == 10) Push({.jhat = {SDL_JOYHATMOTION, 0, 0, uint8_t(a & 15)}});
      if (kind == 11) Push({.jaxis = {SDL_JOYAXISMOTION, 0, uint8_t(a & 1), int16_t(b << 8 | c)}});
      if (kind == 12) Quit();
    }
    cursor = std::min(at, kInputMs);
  }

 private:
  // The rules checked at every play frame. A new game (score 0, three lives, the first level)
  // may start only where a screen waited for an event since the last frame. Elsewhere the
  // score never falls, the lives change by one at most and the level goes on to the next (the
  // first after the 25th) or stays.
  void PlayFrame() {
    const Ship& ship = PlayerShip;
    const bool newGame = menuSeen && ship.score == 0 && ship.lives == 3 && CurrentLevel == 0;
    FUZZ_CHECK(CurrentLevel == lastLevel || CurrentLevel == (lastLevel + 1) % kLevelCount ||
               newGame);
    FUZZ_CHECK(ship.score >= lastScore || newGame);
    FUZZ_CHECK(std::abs(ship.lives - lastLives) <= 1 || newGame);
    FUZZ_CHECK(ship.lives >= 0);
    FUZZ_CHECK(ship.x >= 0 && ship.x <= kShipRightLimit);
    lastScore = ship.score;
    lastLives = ship.lives;
    lastLevel = CurrentLevel;
    menuSeen = false;
    FUZZ_CHECK(std::count_if(std::begin(Enemies), std::end(Enemies),
                             [](const Enemy& e) { return e.alive; }) == EnemyFormation.liveCount);
  }

  // A screen that never returns is caught on the virtual clock.
  void Watch() const {
    if (now > cursor + kClosingMs) FuzzFail("the game did not end after its input was used up");
  }

  // Asks the player whose turn it is, if any, whenever the game polls (the screens that wait
  // get nothing from it).
  bool PlayerTurn() {
    while (!turns.empty() && now >= turns.front().until) turns.pop_front();
    if (turns.empty() || now < turns.front().from || waiting) return false;
    (turns.front().player == 0 ? Hunt : PlayKeysAndTaps)(*this);  // the golden replays' players
    return true;
  }

  struct Turn {
    uint32_t from, until;
    int player;
  };
  std::deque<Turn> turns;
  int delays = 0;
  int32_t lastScore = 0, lastLives = 3, lastLevel = 0;
  bool menuSeen = true;  // a screen waited for an event since the last play frame
  bool waiting = false;  // the game waits for an event: a screen, not play
};

// The game as a fresh start finds it, and the settings file the start byte asks for.
void StartFresh(uint8_t start) {
  ResetRunState();
  // The pad layer keeps the keys a pad holds between runs: let go of all of them.
  for (uint8_t i = 0; i < 19; ++i) {
    SDL_Event e{.jbutton = {SDL_JOYBUTTONUP, 0, i, SDL_RELEASED}};
    if (i == 16) e.jhat = {SDL_JOYHATMOTION, 0, 0, SDL_HAT_CENTERED};
    if (i > 16) e.jaxis = {SDL_JOYAXISMOTION, 0, uint8_t(i - 17), 0};
    TranslatePadEvent(e);
  }
  for (SDL_Event e; TakePendingPadEvent(e);) {
  }
  std::filesystem::remove(SettingsPath());  // a file, or the folder of an earlier input
  if (start & 16 && !std::filesystem::create_directory(SettingsPath())) FuzzFail("no folder");
  if (start & 16 || (start & 15) == 0) return;
  Settings.difficulty = int16_t(start & 3) == 3 ? 7 : int16_t(start & 3);
  Settings.soundOn = start & 4 ? 0 : 1;
  for (int p = 0; start & 8 && p < kHighScorePlaces; ++p) {
    std::snprintf(Settings.highScoreNames[p], kNameFieldSize, "Player %d", p + 1);
    Settings.highScores[p] = 50 - 10 * p;
  }
  FUZZ_CHECK(SaveSettings());  // the game loads it as it starts
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  StartFresh(data[0]);
  FuzzHost host;
  host.Load(data + 1, size - 1);
  UseHostInput(&host);
  FUZZ_CHECK(RunGame() == Quit);
  UseHostInput(nullptr);
  // Every choice and score of the run was saved on leaving its screen (where saves work):
  // the file holds what the game holds, and without a file the game holds the defaults.
  uint8_t held[kSettingsFileSize], saved[kSettingsFileSize];
  EncodeSettings(Settings, held);
  EncodeSettings(SettingsFile(), saved);
  FUZZ_CHECK((data[0] & 16) || std::memcmp(held, saved, sizeof held) == 0);
  FUZZ_CHECK(!std::filesystem::exists(FuzzFolder() + "data/zorblats.tmp"));
  std::free(StoryText);
  StoryText = nullptr;
  return 0;
}
