// The test harness: the real game code on the virtual clock with scripted input
// (tests/support/virtual_host.h), a headless 240 x 320 screen, a silent sound output and
// scripted message-box answers; painted pictures and fonts whose every pixel says where it came
// from, what the screen shows, scripted typing, a fixture for the front-end tests, and frames
// as runs of one colour with the golden pictures (a frame that differs is written as a PNG).
#pragma once
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/game_over.h"
#include "frontend/keyboard.h"
#include "frontend/name_entry.h"
#include "frontend/run_state.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "settings/settings.h"
#include "tests/support/virtual_host.h"
#include "text/font.h"
#include "text/textbox.h"
#include "tools/contentgen/png.h"

// Plays nothing: the tests that hear the game install a recorder of their own.
class SilentSound final : public SoundOutput {
 public:
  void Play(const char*) override {}
};

// Keeps what the game handed to the screen: the picture as shown so far.
class ScreenRecorder final : public ScreenOutput {
 public:
  void Show(SDL_Surface* screen, const SDL_Rect& area) override {
    SDL_Rect from = area, to = area;
    SDL_BlitSurface(screen, &from, picture, &to);
  }
  SDL_Surface* picture = nullptr;  // 240 x 320, black until something is shown
};

// The running test's screen recorder.
inline ScreenRecorder* RunningRecorder = nullptr;

// The picture the game has shown in the running test: what the player sees.
inline SDL_Surface* ShownScreen() { return RunningRecorder->picture; }

// Records the message boxes shown and answers OK, or No to a question.
class ScriptedMessageBox final : public MessageBoxHandler {
 public:
  int Show(const char* text, const char* caption, int style) override {
    shown.push_back({text ? text : "", caption ? caption : "", style});
    return style == MB_YESNO ? IDNO : IDOK;
  }
  struct Shown {
    std::string text, caption;
    int style;
  };
  std::vector<Shown> shown;
};

// Fills a rectangle of a surface with a raw colour.
inline void FillRect(SDL_Surface* surface, int x, int y, int w, int h, uint16_t colour) {
  SDL_Rect r{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
             static_cast<Uint16>(h)};
  SDL_FillRect(surface, &r, colour);
}

// A 16-bit 5-6-5 surface filled with one colour (raw value), owned by the caller.
inline SDL_Surface* MakeSurface(int width, int height, uint16_t fill = 0) {
  SDL_Surface* s =
      SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0xF800, 0x07E0, 0x001F, 0);
  FillRect(s, 0, 0, width, height, fill);
  return s;
}

// Reads a whole file into a byte vector (empty if missing).
inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Writes bytes to a file.
inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A font in the game's convention: marker kMark at each glyph boundary in row 0, kGap under
// the markers; glyph k (code 33 + k) is `width` wide, coloured base + k, with its top-left
// pixel `corner`, so every glyph drawn can be found and named on the screen.
constexpr uint16_t kMark = 0xF81F, kGap = 0x1111, kRegularCorner = 0xFFE0, kBoldCorner = 0x07FF;
inline SDL_Surface* PaintedFont(int width, int height, uint16_t base, uint16_t corner,
                                int glyphs = 95) {
  SDL_Surface* font = MakeSurface(glyphs * (width + 1) + 1, height, kGap);
  for (int k = 0; k <= glyphs; ++k) FillRect(font, k * (width + 1), 0, 1, 1, kMark);
  for (int k = 0; k < glyphs; ++k) {
    FillRect(font, k * (width + 1) + 1, 0, width, height, static_cast<uint16_t>(base + k));
    FillRect(font, k * (width + 1) + 1, 0, 1, 1, corner);
  }
  return font;
}

// A fixture with the dummy video driver, a 240 x 320 16-bit ScreenSurface, the game's globals
// as at program start (ResetRunState), the scripted host, a silent sound output, the screen
// recorder and the message-box answerer installed, and DataDir/ExeDir pointing at a fresh
// temporary folder (with a data/ folder inside).
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ScreenSurface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, SDL_SWSURFACE);
    ASSERT_NE(ScreenSurface, nullptr) << SDL_GetError();
    SDL_FillRect(ScreenSurface, nullptr, 0);  // the screen starts black, as on the device
    ResetRunState();
    UseHostInput(&host);
    UseSoundOutput(&sound);
    UseMessageBoxHandler(&boxes);
    shown.picture = MakeSurface(240, 320);
    UseScreenOutput(RunningRecorder = &shown);
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zorblats-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr) << pattern;
    folder = pattern + "/";
    mkdir((folder + "data").c_str(), 0755);
    std::snprintf(ExeDir, sizeof ExeDir, "%s", folder.c_str());
    std::snprintf(DataDir, sizeof DataDir, "%sdata\\", folder.c_str());
    // No test reads or writes the user's own folders.
    setenv("XDG_CONFIG_HOME", (folder + "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder + "share").c_str(), 1);
    // The folder takes writes: the settings file goes beside the data.
    ChooseSettingsFolder("zorblats.set");
  }
  void TearDown() override {
    UseHostInput(nullptr);
    UseSoundOutput(nullptr);
    UseMessageBoxHandler(nullptr);
    UseScreenOutput(nullptr);
    SDL_FreeSurface(shown.picture);
    for (SDL_Surface*& s : Images) s = nullptr;
    for (SDL_Surface* s : owned) SDL_FreeSurface(s);
    ScreenSurface = nullptr;
    SDL_Quit();
    if (chdir("/") != 0)
      ADD_FAILURE() << "cannot leave the test folder";  // a test may have entered it
    if (!folder.empty())
      std::system(("chmod -R u+w '" + folder + "'; rm -rf '" + folder + "'").c_str());
  }

  VirtualHost host;
  SilentSound sound;
  ScreenRecorder shown;
  ScriptedMessageBox boxes;
  std::string folder;               // the temporary game folder, ending in '/'
  std::vector<SDL_Surface*> owned;  // surfaces made by the fixture, freed in TearDown

  // Fills Images with synthetic pictures of the sizes the game relies on (sprite strips,
  // 240 x 320 backgrounds), painted so that every part of a screen shows where it came from
  // yet a golden picture stays short as runs: each picture in bands of its own colours, a new
  // one every row and every frame of a strip (every 40 columns elsewhere); each font a
  // PaintedFont of 95 glyphs 5 wide and 9 high.
  void InstallSyntheticImages() {
    struct Size {
      int w, h, band = 40;  // a strip's frames (or cells) are its bands
    };
    static constexpr Size kSizes[kImageCount] = {
        {240, 320},   {240, 320},   {60, 30, 30},  {3, 8},        {3, 8},      {46, 18, 23},
        {46, 18, 23}, {46, 18, 23}, {240, 320},    {12, 12},      {160, 60},   {200, 16, 50},
        {60, 12, 12}, {30, 30},     {240, 320},    {240, 320},    {240, 320},  {240, 320},
        {240, 320},   {0, 0},       {0, 0},        {2, 2},        {2, 2},      {2, 2},
        {2, 2},       {2, 2},       {115, 18, 23}, {150, 30, 30}, {15, 15},    {120, 40},
        {1, 1},       {130, 30},    {240, 86},     {240, 86},     {240, 86},   {240, 86},
        {1, 1},       {96, 16},     {0, 0},        {60, 30, 15},  {60, 30, 15}};
    for (int id = 0; id < kImageCount; ++id) {
      if (id == kFontGrey || id == kFontBold || id == kFontWhite) {
        owned.push_back(Images[id] = PaintedFont(5, 9, uint16_t(0x8000 | id << 8), kRegularCorner));
        continue;
      }
      const Size& size = kSizes[id];
      owned.push_back(Images[id] = MakeSurface(size.w, size.h));
      for (int y = 0; y < size.h; ++y)
        for (int x = 0; x < size.w; ++x)
          static_cast<uint16_t*>(Images[id]->pixels)[y * Images[id]->pitch / 2 + x] =
              uint16_t((id * 40503u ^ y * 97u ^ x / size.band * 0x2000u) | 0x0821);
    }
    ApplyColourKeys();
  }
};

using Bytes = std::vector<uint8_t>;
inline const std::string kGameDir = ZORBLATS_GAME_DIR;

// Appends an unsigned value of `size` bytes, little-endian.
inline void Put(Bytes& out, uint32_t value, int size = 4) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A line of text formatted as printf does: a replay's record, a screen's digest.
template <typename... A>
std::string Format(const char* format, A... args) {
  char line[320];
  std::snprintf(line, sizeof line, format, args...);
  return line;
}

// The painted fonts' glyph colours (PaintedFont), and the colour of the help pictures.
constexpr uint16_t kRegularBase = 0x4000, kBoldBase = 0x6000, kPicture = 0x07E0;

// What the screen shows, as text: every glyph of the painted fonts as its character and
// top-left corner ("a10,20", bold ones "*a"), the top-left corner of the pictures of colour
// kPicture ("P43,30"), and the count of all pixels that are not black (so that sizes count too).
inline std::string Digest() {
  std::string out, picture;
  int lit = 0;
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x) {
      const uint32_t p = ReadPixel(x, y, ScreenSurface);
      lit += p != 0;
      if (p == kPicture && picture.empty()) picture = Format("P%d,%d ", x, y);
      if (p != kRegularCorner && p != kBoldCorner) continue;
      const int k = static_cast<int>(ReadPixel(x + 1, y, ScreenSurface)) -
                    (p == kBoldCorner ? kBoldBase : kRegularBase);
      out += Format("%s%c%d,%d ", p == kBoldCorner ? "*" : "", 33 + k, x, y);
    }
  return out + picture + std::to_string(lit);
}

inline bool Shows(SDL_Surface* p, int x, int y, int w = 0, int h = 0, int px = 0, int py = 0) {
  if (w == 0) w = p->w, h = p->h;
  const uint32_t key = p->flags & SDL_SRCCOLORKEY ? p->format->colorkey : 0xFFFFFFFF;
  for (int i = 0; i < w * h; ++i) {
    const uint32_t c = ReadPixel(px + i % w, py + i / w, p);
    if (c != key && c != ReadPixel(x + i % w, y + i / w, ShownScreen())) return false;
  }
  return true;
}

// Taps the key that gives each code in either layer ('\1': beside the keys, '\2': a right-
// button tap on the a key, '\x7f': a quit event); Enter is pressed and never lifted.
inline void TypeKeys(VirtualHost& host, const char* keys) {
  for (const char* c = keys; *c; ++c) {
    int x = *c == 2 ? 38 : 0, y = *c == 2 ? 276 : 250;
    for (const KeyboardKey& k : KeyTable)
      if (k.normal == *c || k.large == *c)
        x = (k.area.left + k.area.right) / 2, y = 234 + (k.area.top + k.area.bottom) / 2;
    *c == 0x7f   ? host.Quit()
    : *c == '\n' ? host.Press(x, y)
                 : host.Tap(x, y, *c == 2 ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT);
  }
}

class ScreenTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    SelectFont(kFontWhite);
    PrepareHelpBox(HelpBox);
  }
  // The host's hooks: a look at the screen whenever the game waits, polls or pauses.
  std::function<void()>&onWait = host.onWait, &onPoll = host.onPoll;
  std::function<void(uint32_t)>& onDelay = host.onDelay;
};

// ---- Frames of the 240 x 320 screen as text and as pictures, so that a golden replay or
// picture that differs can show the frames that differ ----

// The runs of one 16-bit colour of a 240 x 320 surface, row after row.
inline std::string EncodeFrame(const SDL_Surface* s) {
  std::string out;
  for (int i = 0, count = 0; i < s->w * s->h; i += count) {
    const auto at = [s](int k) {
      return static_cast<const uint16_t*>(s->pixels)[k / s->w * s->pitch / 2 + k % s->w];
    };
    for (count = 1; i + count < s->w * s->h && at(i + count) == at(i);) ++count;
    out += Format("%s%04x*%d", out.empty() ? "" : " ", at(i), count);
  }
  return out;
}

// The pixels of a frame given as runs, row after row (fewer than 240 x 320 when it is damaged).
inline std::vector<uint16_t> DecodeFrame(const std::string& runs) {
  std::vector<uint16_t> pixels;
  std::istringstream in(runs);
  unsigned colour = 0, count = 0;
  for (char star;
       pixels.size() <= 240 * 320 && in >> std::hex >> colour >> star >> std::dec >> count;)
    pixels.insert(pixels.end(), count, uint16_t(colour));
  return pixels;
}

// Writes a frame given as runs as the PNG file <name> (with the icons' PNG writer) in the
// build's folder of the golden files that differ: its path, or "(not written)".
inline std::string WriteFramePng(const std::string& runs, const std::string& name) {
  const std::string folder = ZORBLATS_BINARY_DIR "/Testing/golden/";
  std::system(("mkdir -p " + folder).c_str());
  Image image(240, 320);
  image.pixels.clear();
  for (uint16_t c : DecodeFrame(runs))
    image.pixels.push_back({uint8_t((c >> 11) * 255 / 31), uint8_t((c >> 5 & 63) * 255 / 63),
                            uint8_t((c & 31) * 255 / 31)});
  std::string error;
  const bool written = image.pixels.size() == 240 * 320 && WritePng(folder + name, image, &error);
  return written ? folder + name : "(not written)";
}

// Whether a golden file may be rewritten (ZORBLATS_UPDATE_GOLDEN): not when that is unset,
// empty or 0; with 1, where its outcome stays; with its name among others (comma-separated),
// also where its outcome changes.
enum class GoldenUpdate { No, KeepingOutcome, Any };
inline GoldenUpdate GoldenUpdateFor(const std::string& name) {
  const char* asked = std::getenv("ZORBLATS_UPDATE_GOLDEN");
  const std::string names = "," + std::string(asked ? asked : "") + ",";
  if (names == ",," || names == ",0,") return GoldenUpdate::No;
  return names.find("," + name + ",") != std::string::npos ? GoldenUpdate::Any
                                                           : GoldenUpdate::KeepingOutcome;
}

// Compares a picture (as runs) with the golden picture tests/golden/pictures/<name>.txt; where
// they differ, writes both as PNG files beside the build (<name>-expected.png and
// <name>-shown.png) and names the first pixel that differs. In the update mode the golden
// picture is rewritten.
inline testing::AssertionResult IsGoldenPicture(const std::string& name, const std::string& runs) {
  const std::string path = ZORBLATS_SOURCE_DIR "/tests/golden/pictures/" + name + ".txt";
  std::string expected;
  std::getline(std::ifstream(path), expected);
  if (runs == expected) return testing::AssertionSuccess();
  const std::vector<uint16_t> want = DecodeFrame(expected), got = DecodeFrame(runs);
  size_t at = 0;
  while (at < want.size() && at < got.size() && want[at] == got[at]) ++at;
  const std::string pngs = WriteFramePng(expected, name + "-expected.png") + " and " +
                           WriteFramePng(runs, name + "-shown.png");
  const bool rewrite = GoldenUpdateFor(name) != GoldenUpdate::No;
  if (rewrite) std::ofstream(path, std::ios::trunc) << runs << "\n";
  return testing::AssertionFailure()
         << "the picture " << name << " first differs from " << path << " at (" << at % 240 << ", "
         << at / 240 << "): " << pngs << (rewrite ? "; the golden picture is rewritten" : "");
}
