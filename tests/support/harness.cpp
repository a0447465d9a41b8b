#include "tests/support/harness.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "frontend/run_state.h"
#include "platform/paths.h"
#include "resources/draw.h"
#include "resources/images.h"

// ---- ScreenRecorder ----

namespace {
ScreenRecorder* recorder = nullptr;  // the running test's
}  // namespace

void ScreenRecorder::Show(SDL_Surface* screen, const SDL_Rect& area) {
  SDL_Rect from = area, to = area;
  SDL_BlitSurface(screen, &from, picture, &to);
}

SDL_Surface* ShownScreen() { return recorder->picture; }

// ---- ScriptedMessageBox ----

int ScriptedMessageBox::Show(const char* text, const char* caption, int style) {
  shown.push_back({text ? text : "", caption ? caption : "", style});
  return style == MB_YESNO ? IDNO : IDOK;
}

// ---- Surfaces ----

SDL_Surface* MakeSurface(int width, int height, uint16_t fill) {
  SDL_Surface* s =
      SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0xF800, 0x07E0, 0x001F, 0);
  FillRect(s, 0, 0, width, height, fill);
  return s;
}

void FillRect(SDL_Surface* surface, int x, int y, int w, int h, uint16_t colour) {
  SDL_Rect r{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
             static_cast<Uint16>(h)};
  SDL_FillRect(surface, &r, colour);
}

// ---- Files ----

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// ---- GameTest ----

void GameTest::SetUp() {
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
  shown = ScreenRecorder{};
  shown.picture = MakeSurface(240, 320);
  UseScreenOutput(recorder = &shown);

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
  ChooseSettingsFolder(
      "zorblats.set");  // the folder takes writes: the settings file goes beside the data
}

void GameTest::TearDown() {
  UseHostInput(nullptr);
  UseSoundOutput(nullptr);
  UseMessageBoxHandler(nullptr);
  UseScreenOutput(nullptr);
  SDL_FreeSurface(shown.picture);
  for (SDL_Surface*& s : Images) s = nullptr;
  for (SDL_Surface* s : owned) SDL_FreeSurface(s);
  owned.clear();
  ScreenSurface = nullptr;
  SDL_Quit();
  if (chdir("/") != 0)
    ADD_FAILURE() << "cannot leave the test folder";  // a test may have entered it
  if (!folder.empty())
    std::system(("chmod -R u+w '" + folder + "'; rm -rf '" + folder + "'").c_str());
}

SDL_Surface* PaintedFont(int width, int height, uint16_t base, uint16_t corner, int glyphs) {
  SDL_Surface* font = MakeSurface(glyphs * (width + 1) + 1, height, kGap);
  for (int k = 0; k <= glyphs; ++k) FillRect(font, k * (width + 1), 0, 1, 1, kMark);
  for (int k = 0; k < glyphs; ++k) {
    FillRect(font, k * (width + 1) + 1, 0, width, height, static_cast<uint16_t>(base + k));
    FillRect(font, k * (width + 1) + 1, 0, 1, 1, corner);
  }
  return font;
}

void GameTest::InstallSyntheticImages() {
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
