// Plays the whole game: RunGame from the start screen on, with the built content, on a host
// whose virtual clock and events come from the input. At every play frame and whenever the
// game waits it checks the game's rules and the settings file; once the input is used up the
// player lets go of every button and key and closes the window at every screen, and the game
// must return within kClosingMs of virtual time.
//
// Input: one start byte, then records of four bytes [op, a, b, c], each an event after a wait
// of (op >> 4) x 10 ms. Events beyond kInputMs of virtual time are dropped, and so is the
// rest of the input once the game has paused kDelayBudget times (play frames, name-entry
// passes): every input's work stays bounded.
//   start: bits 0-1 the difficulty in the file (0, 1, 2, or 7: out of range), bit 2 sound off,
//     bit 3 five scores in the table; no file (a first start) when bits 0-3 are all 0. Bit 4:
//     a folder stands where the settings file goes, so every save fails.
//   (op & 15) % 13:
//     0     a wait of a x 256 + b ms
//     1-4   stylus press, release, motion, tap (press and release) at x = (a + 256 (c & 1)) % 240,
//           y = (b + 128 (c & 2)) % 320, button 1 + (c >> 2) % 5
//     5-7   key down, up, press (down and up) of kKeys[a % 16], character b below 128, Shift
//           held with c & 1
//     8     focus: gained a & 1, state b & 7 (mouse, keyboard, shown)
//     9     pad button a % 16, pressed with b & 1
//     10    pad hat at a & 15
//     11    pad stick axis a & 1 at the 16-bit value b x 256 + c
//     12    the window's close button
#include <SDL/SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/driver.h"
#include "frontend/run_state.h"
#include "fuzz/fuzz_support.h"
#include "game/formation.h"
#include "game/game_state.h"
#include "game/ship.h"
#include "platform/gamepad.h"
#include "platform/host.h"
#include "resources/draw.h"
#include "settings/settings.h"
#include "tests/support/virtual_host.h"

namespace {

constexpr uint32_t kInputMs = 300000;   // the input's events reach at most this far
constexpr int kDelayBudget = 400;       // pauses (play frames, name entry passes) per input
constexpr uint32_t kClosingMs = 15000;  // from the input's end until RunGame returns
constexpr uint32_t kFrameMs = 50;       // every play frame (and explosion step) ends so
constexpr SDLKey kKeys[16] = {SDLK_UP,    SDLK_DOWN,     SDLK_LEFT,      SDLK_RIGHT,
                              SDLK_SPACE, SDLK_LCTRL,    SDLK_RETURN,    SDLK_ESCAPE,
                              SDLK_p,     SDLK_TAB,      SDLK_BACKSPACE, SDLK_y,
                              SDLK_n,     SDLK_KP_ENTER, SDLK_a,         SDLK_LSHIFT};

std::string settingsPath;

// The rules checked whenever the game waits; `menuSeen` marks a screen that waited for an
// event since the last play frame (a new game may start there).
struct Rules {
  int32_t lastScore = 0;
  bool menuSeen = true;

  void PlayFrame() {
    FUZZ_CHECK(CurrentLevel >= 0 && CurrentLevel < kLevelCount);
    FUZZ_CHECK(PlayerShip.lives >= 0 && PlayerShip.lives < 100);
    FUZZ_CHECK(PlayerShip.x >= 0 && PlayerShip.x <= kShipRightLimit);
    FUZZ_CHECK(PlayerShip.score >= lastScore || (menuSeen && PlayerShip.score == 0));
    lastScore = PlayerShip.score;
    menuSeen = false;
    int alive = 0;
    for (const Enemy& e : Enemies) alive += e.alive ? 1 : 0;
    FUZZ_CHECK(alive == EnemyFormation.liveCount);
  }

  // The settings file, once saved, is 211 bytes with its scores from the highest down. Returns
  // its bytes; none while it is not saved yet or a folder stands in its place.
  static std::vector<uint8_t> SettingsFile() {
    struct stat entry {};
    if (stat(settingsPath.c_str(), &entry) != 0 || !S_ISREG(entry.st_mode)) return {};
    const std::string text = FuzzReadFile(settingsPath);
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    FUZZ_CHECK(bytes.size() == kSettingsFileSize);
    SettingsRecord saved;
    DecodeSettings(bytes.data(), bytes.size(), saved);
    for (int p = 1; p < kHighScorePlaces; ++p)
      FUZZ_CHECK(saved.highScores[p] <= saved.highScores[p - 1]);
    return bytes;
  }
};

// The virtual host with the input's events as its script, ending where the input ends, and
// the rules checked as the game pauses and waits.
class FuzzHost final : public VirtualHost {
 public:
  FuzzHost() { pollGraceMs = 0; }

  // Reads the records into timed events.
  void Load(const uint8_t* data, size_t size) {
    uint32_t at = 0;
    for (size_t i = 0; i + 4 <= size; i += 4) {
      const uint8_t op = data[i], a = data[i + 1], b = data[i + 2], c = data[i + 3];
      at += (op >> 4) * 10u;
      const int kind = (op & 15) % 13;
      if (kind == 0) at += a * 256u + b;
      if (at > kInputMs) break;
      const uint16_t x = (a + 256 * (c & 1)) % 240, y = (b + 128 * (c & 2)) % 320;
      const bool down = kind != 2 && kind != 6;  // not a release
      const uint8_t button = 1 + (c >> 2) % 5, state = down ? SDL_PRESSED : SDL_RELEASED;
      const SDLMod mod = c & 1 ? KMOD_LSHIFT : KMOD_NONE;
      const SDL_keysym keysym{0, kKeys[a % 16], mod, uint16_t(down && b < 128 ? b : 0)};
      SDL_Event e{};
      switch (kind) {
        case 1:
        case 2:
        case 4:
          e.button = {
              uint8_t(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP), 0, button, state, x, y};
          break;
        case 3:
          e.motion = {SDL_MOUSEMOTION, 0, 0, x, y, 0, 0};
          break;
        case 5:
        case 6:
        case 7:
          e.key = {uint8_t(down ? SDL_KEYDOWN : SDL_KEYUP), 0, state, keysym};
          break;
        case 8:
          e.active = {SDL_ACTIVEEVENT, uint8_t(a & 1), uint8_t(b & 7)};
          break;
        case 9:
          e.jbutton = {uint8_t(b & 1 ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP), 0, uint8_t(a % 16),
                       uint8_t(b & 1)};
          break;
        case 10:
          e.jhat = {SDL_JOYHATMOTION, 0, 0, uint8_t(a & 15)};
          break;
        case 11:
          e.jaxis = {SDL_JOYAXISMOTION, 0, uint8_t(a & 1), int16_t(b << 8 | c)};
          break;
        case 12:
          e.type = SDL_QUIT;
          break;
      }
      cursor = at;
      if (e.type != SDL_NOEVENT) Push(e);
      if (kind == 4) e.button.type = SDL_MOUSEBUTTONUP, e.button.state = SDL_RELEASED;
      if (kind == 7) e.key.type = SDL_KEYUP, e.key.state = SDL_RELEASED, e.key.keysym.unicode = 0;
      if (kind == 4 || kind == 7) Push(e);  // a tap or a key press lets go at once
    }
    cursor = std::min(at, kInputMs);
  }

  // Every pause is work for the fuzzer: past the budget, the input counts as used up.
  void Delay(uint32_t ms) override {
    VirtualHost::Delay(ms);
    if (++delays == kDelayBudget) DropScript();
    if (ms == kFrameMs) rules.PlayFrame();
    Rules::SettingsFile();
    Watch();
  }
  int PollEvent(SDL_Event* event) override {
    Watch();
    return VirtualHost::PollEvent(event);
  }
  int WaitEvent(SDL_Event* event) override {
    rules.menuSeen = true;
    Rules::SettingsFile();
    Watch();
    return VirtualHost::WaitEvent(event);
  }

  Rules rules;

 private:
  // A screen that never returns is caught on the virtual clock.
  void Watch() const {
    if (now > cursor + kClosingMs) FuzzFail("the game did not end after its input was used up");
  }

  int delays = 0;
};

// The game as a fresh start finds it, and the settings file the start byte asks for.
void StartFresh(uint8_t start) {
  ResetRunState();
  unlink(settingsPath.c_str());
  rmdir(settingsPath.c_str());
  if (start & 16) {
    if (mkdir(settingsPath.c_str(), 0755) != 0) FuzzFail("cannot make the settings folder");
    return;
  }
  if ((start & 15) == 0) return;
  SettingsRecord record;
  record.difficulty = int16_t(start & 3) == 3 ? 7 : int16_t(start & 3);
  record.soundOn = start & 4 ? 0 : 1;
  for (int p = 0; start & 8 && p < kHighScorePlaces; ++p) {
    std::snprintf(record.highScoreNames[p], kNameFieldSize, "Player %d", p + 1);
    record.highScores[p] = 50 - 10 * p;
  }
  uint8_t bytes[kSettingsFileSize];
  EncodeSettings(record, bytes);
  FuzzWriteFile(settingsPath, bytes, sizeof bytes);
}

// Keys the pad holds are kept by the pad layer between runs: let go of all of them.
void LetGoOfThePad() {
  SDL_Event e{};
  for (uint8_t i = 0; i < 19; ++i) {
    if (i < 16) e.jbutton = {SDL_JOYBUTTONUP, 0, i, SDL_RELEASED};
    if (i == 16) e.jhat = {SDL_JOYHATMOTION, 0, 0, SDL_HAT_CENTERED};
    if (i > 16) e.jaxis = {SDL_JOYAXISMOTION, 0, uint8_t(i - 17), 0};
    TranslatePadEvent(e);
  }
  while (TakePendingPadEvent(e)) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  FuzzCopyGameData();
  settingsPath = FuzzFolder() + "data/" + kSettingsFileName;
  // The game draws on a 240 x 320 surface of its own, as on the desktop; presenting it to the
  // video surface is left out.
  ScreenSurface = SDL_ConvertSurface(ScreenSurface, ScreenSurface->format, SDL_SWSURFACE);
  return 0;
}

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
  const std::vector<uint8_t> saved = Rules::SettingsFile();
  uint8_t held[kSettingsFileSize], expected[kSettingsFileSize];
  EncodeSettings(Settings, held);
  EncodeSettings(SettingsRecord{}, expected);
  if (!saved.empty()) std::memcpy(expected, saved.data(), sizeof expected);
  FUZZ_CHECK((data[0] & 16) || std::memcmp(held, expected, sizeof held) == 0);
  FUZZ_CHECK(access((FuzzFolder() + "data/zorblats.tmp").c_str(), F_OK) != 0);
  std::free(StoryText);
  StoryText = nullptr;
  LetGoOfThePad();
  return 0;
}
