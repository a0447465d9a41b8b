// The whole game without a single tap, in-process with the game's own packs: keys, a focus
// loss and a gamepad's events walk every screen from the first menu to a saved high score.
#include <array>
#include <cstring>
#include <filesystem>

#include "app/driver.h"
#include "frontend/keyboard.h"
#include "frontend/name_entry.h"
#include "settings/settings.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"

namespace {

// One scripted event by its letter: the keys Down, Up, Right, Tab, Enter, Escape; the pad's
// hat down, right and centred, its south (s, o: down, up) and east (b, q) buttons; f: the
// window loses the input focus.
SDL_Event Scripted(char c) {
  static const char kCodes[] = "DURTNXhrcsobqf";
  static const SDLKey kSyms[] = {SDLK_DOWN, SDLK_UP, SDLK_RIGHT, SDLK_TAB, SDLK_RETURN, SDLK_ESCAPE};
  const int i = static_cast<int>(std::strchr(kCodes, c) - kCodes);
  SDL_Event e{};
  if (i < 6) e.key.keysym.sym = kSyms[i];
  if (i >= 6 && i < 9) e.jhat.value = c == 'h' ? SDL_HAT_DOWN : c == 'r' ? SDL_HAT_RIGHT : SDL_HAT_CENTERED;
  if (i >= 9) e.jbutton.button = i < 11 ? 0 : 1;
  if (i == 13) e.active.state = SDL_APPINPUTFOCUS;
  e.type = i < 6 ? SDL_KEYDOWN : i < 9 ? SDL_JOYHATMOTION : i == 13 ? SDL_ACTIVEEVENT : i % 2 ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
  return e;
}

// True when the screen at (x, y) shows the w x h part of a picture at (px, py); the
// picture's colour key, if it has one, lets anything show.
bool Shows(int x, int y, int w, int h, SDL_Surface* picture, int px = 0, int py = 0) {
  const uint32_t key = picture->flags & SDL_SRCCOLORKEY ? picture->format->colorkey : 0xFFFFFFFF;
  for (int p = 0; p < w * h; ++p) {
    const uint32_t c = ReadPixel(px + p % w, py + p / w, picture);
    if (c != key && c != ReadPixel(x + p % w, y + p / w, ScreenSurface)) return false;
  }
  return true;
}

// Notes at each wait of a blocking screen which background shows (by its top rows) and where
// the focus mark's top-left corner lies; notes each key lit while the real keyboard types;
// scripts the name entry when it begins.
class Watcher final : public HostInput {
 public:
  explicit Watcher(ScriptedHost& inner) : inner(inner) {}
  void Delay(uint32_t ms) override {
    for (const KeyboardKey& k : KeyTable) {
      const Rect& a = k.area;  // the middle of each key, pushed in?
      SDL_Surface* pushed = Images[kKeyboardSmallPushed];
      if (ms == 80 && k.normal != kNoActionKey && Shows(a.left + 6, 240 + a.top, 6, 6, pushed, a.left + 6, a.top + 6)) {
        lit.push_back(k.normal);
      }
    }
    inner.Delay(ms);
  }
  uint32_t Ticks() override { return inner.Ticks(); }
  const uint8_t* KeyState() override { return inner.KeyState(); }
  int PollEvent(SDL_Event* event) override {
    if (blinkCounter == 1) {  // the name entry has drawn its field for the first time
      inner.cursor = inner.now;
      inner.KeyDown(SDLK_a, 'A').KeyDown(SDLK_b, 'b').KeyDown(SDLK_BACKSPACE);
      for (char c : std::string("rcrchcoso")) inner.Push(Scripted(c));
      inner.KeyDown(SDLK_1, '!').KeyDown(SDLK_RETURN);
    }
    return inner.PollEvent(event);
  }
  int WaitEvent(SDL_Event* event) override {
    std::array<int, 3> wait{-1, -1, -1};
    for (int id : {kMainMenu, kOptions, kHelp, kScores, kAbout, kSupport}) {
      if (Shows(0, 0, 240, 20, Images[id])) wait[0] = id;
    }
    for (int p = 0; p < 234 * 314 && wait[1] < 0; ++p) {
      if (Shows(p % 234, p / 234, 6, 6, corner)) wait = {wait[0], p % 234, p / 234};
    }
    waits.push_back(wait);
    return inner.WaitEvent(event);
  }
  ScriptedHost& inner;
  SDL_Surface* corner = nullptr;  // the mark's top-left corner: data/focus.bmp, keyed
  std::vector<std::array<int, 3>> waits;
  std::vector<int> lit;
};

TEST_F(GameTest, KeysAFocusLossAndAPadPlayTheWholeGameWithoutATap) {
  std::filesystem::copy(ZORBLATS_GAME_DIR "/data", folder + "data", std::filesystem::copy_options::recursive);
  Watcher watcher(host);
  owned.push_back(watcher.corner = SDL_LoadBMP((folder + "data/focus.bmp").c_str()));  // 5-6-5, keyed
  SDL_SetColorKey(watcher.corner, SDL_SRCCOLORKEY, 0);
  UseHostInput(&watcher);
  blinkCounter = largeKeys = shiftPending = 0;
  std::vector<uint8_t> bytes(kSettingsFileSize);  // one score to keep: the reset is answered No
  std::memcpy(&bytes[6], "Bob", 3);
  bytes[156] = 1;
  WriteFileBytes(folder + "data/zorblats.set", bytes);

  // Menu to options (difficulty up twice, the pad on to the sound), help (a page on, Tab),
  // high scores (reset, No by the mark, back by the pad's east), about, support, a new game
  // that the lost focus pauses, resumed by the pad, and fired at until the swarm wins.
  host.Wait(1500);
  // In play the arrows let go ('_'): only the pad's south button fires.
  for (char c : std::string("DDNDRRhcXDNRTXDNDDNTRNbqDNDDNXUUUUN_ f Dsos")) {
    if (c == ' ') host.Wait(2000);
    else if (c == '_') host.KeyUp(SDLK_UP).KeyUp(SDLK_RIGHT);
    else host.Push(Scripted(c)).Wait(10);
  }
  EXPECT_EQ(RunGame(), Quit);

  // At each wait: the screen, and where the mark's corner is (-1: not shown).
  const int M = kMainMenu, O = kOptions, H = kHelp, S = kScores, A = kAbout, P = kSupport;
  EXPECT_EQ(watcher.waits, (std::vector<std::array<int, 3>>{
      {M, -1, -1}, {M, 35, 58}, {M, 35, 92}, {O, -1, -1}, {O, 19, 79}, {O, 19, 106}, {O, 19, 134},
      {O, 19, 208}, {O, 19, 208}, {M, 35, 92}, {M, 35, 125}, {H, -1, -1}, {H, -1, -1}, {H, 48, 286},
      {M, 35, 125}, {M, 35, 155}, {S, -1, -1}, {S, 18, 207}, {S, 121, 207}, {S, 121, 207},
      {S, 52, 174}, {S, 128, 174}, {S, 121, 207}, {M, 35, 155}, {M, 35, 155}, {M, 35, 193},
      {A, -1, -1}, {A, 2, 286}, {A, 78, 286}, {P, -1, -1}, {M, 35, 193}, {M, 35, 155}, {M, 35, 125},
      {M, 35, 92}, {M, 35, 58}, {M, -1, -1}, {M, 53, 22}, {M, -1, -1}}));
  // Typed A, b, Backspace; walked to a, s, down to x and pressed it; typed !.
  EXPECT_EQ(watcher.lit, (std::vector<int>{'a', 'b', kBackspaceKey, 'x', '1'}));
  // Saved: difficulty 2, the new name first and Bob, not reset, below it.
  const std::vector<uint8_t> file = ReadFileBytes(folder + "data/zorblats.set");
  EXPECT_EQ(file.at(2), 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file.at(6))) + "," + reinterpret_cast<const char*>(&file.at(36)), "Ax!,Bob");
}

}  // namespace
