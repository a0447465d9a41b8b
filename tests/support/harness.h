// The test harness: the real game code on the virtual clock with scripted input
// (tests/support/virtual_host.h), a headless 240 x 320 screen, recorded sounds and scripted
// message-box answers.
#pragma once
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "tests/support/virtual_host.h"

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

  VirtualHost host;
  RecordingSound sound;
  ScreenRecorder shown;
  ScriptedMessageBox boxes;
  std::string folder;               // the temporary game folder, ending in '/'
  std::vector<SDL_Surface*> owned;  // surfaces made by the fixture, freed in TearDown

  // Fills Images with synthetic pictures of the sizes the game relies on (sprite strips,
  // 240 x 320 backgrounds), painted so that every part of a screen shows where it came from
  // yet a golden picture stays short as runs: each picture in bands of its own colours, a new
  // one every row and every frame of a strip (every 40 columns elsewhere); each font a
  // PaintedFont of 95 glyphs 5 wide and 9 high.
  void InstallSyntheticImages();
};

// A font in the game's convention: marker kMark at each glyph boundary in row 0, kGap under
// the markers; glyph k (code 33 + k) is `width` wide, coloured base + k, with its top-left
// pixel `corner`, so every glyph drawn can be found and named on the screen.
constexpr uint16_t kMark = 0xF81F, kGap = 0x1111, kRegularCorner = 0xFFE0, kBoldCorner = 0x07FF;
SDL_Surface* PaintedFont(int width, int height, uint16_t base, uint16_t corner, int glyphs = 95);

// A 16-bit 5-6-5 surface filled with one colour (raw value), owned by the caller.
SDL_Surface* MakeSurface(int width, int height, uint16_t fill = 0);
// Fills a rectangle of a surface with a raw colour.
void FillRect(SDL_Surface* surface, int x, int y, int w, int h, uint16_t colour);
// Reads a whole file into a byte vector (empty if missing).
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Writes bytes to a file.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
