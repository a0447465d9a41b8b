// The host stand-ins: free memory, data paths and wave playback, and the four sounds the build
// makes. (The drawing primitives are tested through the fonts and the help box, the random
// draw through the golden replays.)
#include <SDL/SDL_mixer.h>

#include <array>
#include <cmath>
#include <fstream>

#include "platform/config_file.h"
#include "platform/gamepad.h"
#include "platform/memory.h"
#include "platform/small_file.h"
#include "platform/sound.h"
#include "settings/settings.h"
#include "tests/support/harness.h"

using PlatformTest = GameTest;

TEST_F(PlatformTest, MemoryPathsAndWavesComeFromTheHost) {
  EXPECT_EQ(ParseMemAvailable("MemFree: 9 kB\nMemAvailable:    4883 kB\n"), 4883u * 1024);
  EXPECT_EQ(ParseMemAvailable("MemTotal: 5 kB\n"), UINT64_MAX);
  for (auto [module, exe, data] : std::vector<std::array<std::string, 3>>{
           {"/opt/zorblats-1", "/opt/zo", "/opt/data\\"} /* ExeDir cut by length */,
           {"zorblats", "", "zorblatsdata\\"}}) {
    char exeDir[kExeDirCapacity] = {}, dataDir[kDataDirCapacity] = {};
    EXPECT_TRUE(DerivePaths(module.c_str(), exeDir, dataDir));
    EXPECT_EQ(exeDir, exe) << module;
    EXPECT_EQ(dataDir, data) << module;
  }
  char tiny[10];
  EXPECT_FALSE(ReadModulePath(tiny, sizeof tiny));
  EXPECT_FALSE(HostPath("0123456789", tiny, 10));

  // Damaged waves are silent; good ones play from the cache.
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
  UseSoundOutput(nullptr);  // the mixer itself
  ASSERT_TRUE(OpenSound());
  const Bytes built = ReadFileBytes(kGameDir + "/data/3.wav");                   // 0.35 s long
  WriteFileBytes(folder + "bad.wav", Bytes(built.begin(), built.begin() + 30));  // header cut
  PlayWaveFile((folder + "\\bad.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 0);
  WriteFileBytes(folder + "good.wav", built);
  const std::string good = folder + "\\good.wav";
  LoadWaveFile(good.c_str());
  std::remove((folder + "good.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 0);  // loading plays nothing
  PlayWaveFile(good.c_str());     // from the cache: the file is gone
  PlayWaveFile(good.c_str());     // on a second channel
  EXPECT_EQ(Mix_Playing(-1), 2);
  CloseSound();
}

// The settings file goes to the game's data folder while it takes writes and the file's path
// fits the game's 259 bytes, else to the first of the user's data folders whose path fits and
// holds no backslash (made then), else nowhere: the game says why.
TEST_F(PlatformTest, TheSettingsGoWhereTheirPathFits) {
  const auto base = [&](size_t length) {
    return folder + std::string(length - folder.size(), 'x');
  };
  const std::string home = folder + "home", shared = home + "/.local/share/zorblats/";
  const std::string longHome = base(225), longData = base(247) + "/";  // + 12 bytes: 260
  const std::string kTooLong = " is longer than the 259 bytes of the game's paths";
  const struct {
    std::string data, xdg, home, chosen, why;
  } cases[] = {
      {base(246) + "/", base(237), home, base(246) + "/", ""},
      {longData, base(237), home, base(237) + "/zorblats/", ""},
      {longData, base(238), home, shared, ""},
      {longData, folder + "a\\b", home, shared, ""},
      {longData, "", longHome, longData,
       "no folder can keep the settings file, so the settings will not be saved: " + longData +
           "zorblats.set" + kTooLong + "; " + longHome + "/.local/share/zorblats/zorblats.set" +
           kTooLong},
  };
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "/";
  for (const auto& c : cases) {
    ASSERT_TRUE(MakeFolders(c.data.substr(0, c.data.size() - 1)));
    std::snprintf(DataDir, sizeof DataDir, "%s", c.data.c_str());
    setenv("XDG_DATA_HOME", c.xdg.c_str(), 1);  // empty: unset
    setenv("HOME", c.home.c_str(), 1);
    EXPECT_EQ(ChooseSettingsFolder("zorblats.set"), c.why) << c.xdg;
    EXPECT_EQ(SettingsFolder(), c.chosen) << c.xdg;
    EXPECT_EQ(access(c.chosen.c_str(), W_OK), 0) << c.chosen;
  }
  setenv("HOME", oldHome.c_str(), 1);
}

// A save counts only once the back end has made it last: when that step fails, the settings
// file's save and the display config's fail, and the player is told once, for the settings,
// in a box with OK.
TEST_F(PlatformTest, ASaveThatCannotBeMadeToLastFails) {
  static std::string asked;
  UsePersistStep([](const std::string& path) { return asked += path + " ", false; });
  const bool saved = SaveSettings() || SaveDisplayConfig({false});
  UsePersistStep(nullptr);
  EXPECT_FALSE(saved);
  EXPECT_EQ(asked, folder + "data/zorblats.set " + folder + "config/zorblats/zorblats.conf ");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "error in settings file");
  EXPECT_EQ(boxes.shown[0].caption, "error in settings file");
  EXPECT_EQ(boxes.shown[0].style, MB_OK);
}

TEST(Sounds, EachBuiltSoundIsAsLongAndAsLoudAsItsRecipeAsks) {
  std::ifstream recipes(std::string(ZORBLATS_SOURCE_DIR) + "/content/sounds.txt");
  int n = 0;
  for (std::string line; std::getline(recipes, line);) {
    double length, peak;
    if (std::sscanf(line.c_str(), " length %lf peak %lf", &length, &peak) != 2) continue;
    const Bytes wave = ReadFileBytes(kGameDir + "/data/" + std::to_string(n++) + ".wav");
    const size_t bytes = 2 * static_cast<size_t>(std::lround(length * 22050));
    ASSERT_EQ(wave.size(), 44 + bytes) << n;
    int loudest = 0;
    for (size_t i = 44; i < wave.size(); i += 2)
      loudest = std::max(loudest, std::abs(int16_t(wave[i] | wave[i + 1] << 8)));
    EXPECT_NEAR(loudest, peak * 32767, 2) << n;
    EXPECT_EQ(int16_t(wave[wave.size() - 2] | wave[wave.size() - 1] << 8), 0) << n << " ends";
  }
  EXPECT_EQ(n, 4);
}

// The pad's controls as the keys the screens read: west fires (left Ctrl), Start is Escape;
// the stick holds an arrow from past 16000 until back below 8000, on either axis.
TEST(Gamepad, ButtonsAndTheStickBecomeKeys) {
  const auto button = [](uint8_t b, bool down) {
    return SDL_Event{.jbutton = {uint8_t(down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP), 0, b, down}};
  };
  const auto stick = [](uint8_t axis, int16_t value) {
    return SDL_Event{.jaxis = {SDL_JOYAXISMOTION, 0, axis, value}};
  };
  const struct {
    SDL_Event event;
    int becomes;  // the key event's type, 0 for none
    SDLKey key;
  } kSteps[] = {
      {button(2, true), SDL_KEYDOWN, SDLK_LCTRL},  {button(2, false), SDL_KEYUP, SDLK_LCTRL},
      {button(6, true), SDL_KEYDOWN, SDLK_ESCAPE}, {button(6, false), SDL_KEYUP, SDLK_ESCAPE},
      {stick(0, -20000), SDL_KEYDOWN, SDLK_LEFT},  {stick(0, -10000), 0, SDLK_LEFT},
      {stick(0, -5000), SDL_KEYUP, SDLK_LEFT},     {stick(0, 12000), 0, SDLK_RIGHT},
      {stick(1, 20000), SDL_KEYDOWN, SDLK_DOWN},   {stick(1, 0), SDL_KEYUP, SDLK_DOWN},
  };
  for (const auto& step : kSteps) {
    SDL_Event event = step.event;
    const bool key = TranslatePadEvent(event);
    EXPECT_EQ(std::pair(key ? int(event.type) : 0, key ? event.key.keysym.sym : step.key),
              std::pair(step.becomes, step.key))
        << "step " << &step - kSteps;
  }
}
