// The test harness: the real game code on a virtual clock with scripted input, a headless
// 240 x 320 screen, recorded sounds and scripted message-box answers.
#pragma once
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/message_box.h"
#include "platform/sound.h"
#include "platform/screen.h"

// A host whose clock only moves when the game waits, and whose events come from a script.
// Events are stamped with the virtual time at which they become visible to the game.
class ScriptedHost final : public HostInput {
 public:
  void Delay(uint32_t ms) override {
    now += ms;
    idlePolls = 0;
  }
  uint32_t Ticks() override { return now; }
  int PollEvent(SDL_Event* event) override;
  int WaitEvent(SDL_Event* event) override;
  const uint8_t* KeyState() override {
    QueueDue();
    return keys;
  }

  // Script building: each call stamps its events at the script cursor, which Wait() moves.
  ScriptedHost& Wait(uint32_t ms);                                      // move the cursor ms later
  ScriptedHost& Tap(int x, int y, uint8_t button = SDL_BUTTON_LEFT);    // down and up
  ScriptedHost& Press(int x, int y, uint8_t button = SDL_BUTTON_LEFT);  // down only
  ScriptedHost& Release(int x, int y, uint8_t button = SDL_BUTTON_LEFT);
  ScriptedHost& Motion(int x, int y);
  ScriptedHost& KeyDown(SDLKey key, uint16_t unicode = 0);
  ScriptedHost& KeyUp(SDLKey key);
  ScriptedHost& Quit();
  ScriptedHost& Push(const SDL_Event& event);

  // Once the script is used up, WaitEvent answers with SDL_QUIT and PollEvent does too
  // after `idleQuitMs` more virtual time, so no test can hang.
  uint32_t idleQuitMs = 600000;
  uint32_t now = 0;     // the virtual clock
  uint32_t cursor = 0;  // where the next scripted event is stamped
  uint8_t keys[SDLK_LAST] = {};
  size_t Pending() const { return script.size(); }

 private:
  struct Stamped {
    uint32_t at;
    SDL_Event event;
    bool queued = false;  // its key change is in the key table
  };
  // Events whose time has come are in SDL's queue: their keys change the key table then,
  // whether or not the game has taken them yet.
  void QueueDue();
  std::deque<Stamped> script;
  uint32_t lastStamp = 0;
  int idlePolls = 0;  // empty polls since the last Delay: a busy poll loop lets time pass
};

// Records which wave files were started, in order.
class RecordingSound final : public SoundOutput {
 public:
  void Play(const char* gamePath) override { played.emplace_back(gamePath); }
  std::vector<std::string> played;
};

// Keeps what the game handed to the screen: the picture as shown so far.
class ScreenRecorder final : public ScreenOutput {
 public:
  void Show(SDL_Surface* screen, const SDL_Rect& area) override;
  SDL_Surface* picture = nullptr;  // 240 x 320, black until something is shown
};

// The picture the game has shown in the running test: what the player sees.
SDL_Surface* ShownScreen();

// Records the message boxes shown and answers OK, or No to a question.
class ScriptedMessageBox final : public MessageBoxHandler {
 public:
  int Show(const char* text, const char* caption, int style) override;
  struct Shown {
    std::string text, caption;
    int style;
  };
  std::vector<Shown> shown;
};

// A fixture with the dummy video driver, a 240 x 320 16-bit ScreenSurface, the game's globals
// as at program start (ResetRunState), the scripted host, the screen and sound recorders and
// the message-box answerer installed, and DataDir/ExeDir pointing at a fresh temporary folder
// (with a data/ folder inside).
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScriptedHost host;
  RecordingSound sound;
  ScreenRecorder shown;
  ScriptedMessageBox boxes;
  std::string folder;               // the temporary game folder, ending in '/'
  std::vector<SDL_Surface*> owned;  // surfaces made by the fixture, freed in TearDown

  // Fills Images with small synthetic surfaces of the sizes the game relies on (sprite
  // strips, 240 x 320 backgrounds, a font with 95 glyphs 5 wide and 9 high).
  void InstallSyntheticImages();
};

// A 16-bit 5-6-5 surface filled with one colour (raw value), owned by the caller.
SDL_Surface* MakeSurface(int width, int height, uint16_t fill = 0);
// The raw 16-bit value of an RGB colour in the 5-6-5 format.
uint16_t Rgb565(uint8_t r, uint8_t g, uint8_t b);
// Fills a rectangle of a surface with a raw colour.
void FillRect(SDL_Surface* surface, int x, int y, int w, int h, uint16_t colour);
// Reads a whole file into a byte vector (empty if missing).
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Writes bytes to a file.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
