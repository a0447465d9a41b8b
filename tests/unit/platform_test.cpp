// The host stand-ins (free memory, data paths, wave playback) and the drawing primitives
// (raw pixel reads, partial blits from painted strips, the random draw).
#include <SDL/SDL_mixer.h>

#include <set>

#include "platform/memory.h"
#include "platform/sound.h"
#include "tests/support/resource_kit.h"

using PlatformTest = GameTest;

TEST_F(PlatformTest, FreeMemoryAndDataPathsComeFromTheHostsTexts) {
  EXPECT_EQ(ParseMemAvailable("MemFree: 9 kB\nMemAvailable:    4883 kB\n"), 4883u * 1024);
  EXPECT_EQ(ParseMemAvailable("MemTotal: 5 kB\n"), UINT64_MAX);
  using Paths = std::tuple<std::string, std::string, std::string>;
  const std::string tooLong = "/" + std::string(kExeDirCapacity - 10, 'b') + "/zorblats";
  for (auto [module, exe, data] : {Paths{"/opt/zorblats-1", "/opt/zo", "/opt/data\\"},  // cut by length
                                   Paths{"zorblats", "", "zorblatsdata\\"}, Paths{tooLong, "", ""}}) {
    char exeDir[kExeDirCapacity] = {}, dataDir[kDataDirCapacity] = {};
    EXPECT_EQ(DerivePaths(module.c_str(), exeDir, dataDir), module != tooLong);
    EXPECT_EQ(exeDir + std::string("|") + dataDir, exe + "|" + data);
  }
  char tiny[10];
  EXPECT_FALSE(ReadModulePath(tiny, sizeof tiny) || HostPath("0123456789", tiny, 10));
}

// A mono 16-bit wave whose format fields can be spoiled.
Bytes Wave(uint16_t channels, uint32_t rate, uint16_t bits, size_t bytes) {
  Bytes b;
  for (uint32_t v : {0x46464952u, static_cast<uint32_t>(36 + bytes), 0x45564157u, 0x20746D66u, 16u, 1u | channels << 16,
                     rate, rate * channels * bits / 8, channels * bits / 8u | bits << 16, 0x61746164u, uint32_t(bytes)})
    Put(b, v);  // "RIFF" size "WAVE" "fmt " 16 PCM channels rate bytes/s block bits "data" size
  b.resize(44 + bytes, 37);
  return b;
}

TEST_F(PlatformTest, DamagedWavesAreSilentAndGoodOnesPlayFromTheCache) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
  UseSoundOutput(nullptr);  // the mixer itself
  PlayWaveFile("\\nowhere\\0.wav");  // before the device is open
  Bytes cut = Wave(1, 22050, 16, 2000);
  cut.resize(30);
  for (const Bytes& bad : {Bytes{}, Bytes(300, 7), Wave(0, 22050, 16, 2000), Wave(1, 0, 16, 2000), Wave(1, 22050, 13, 2000), cut}) {
    ASSERT_TRUE(OpenSound());
    WriteFileBytes(folder + "bad.wav", bad);
    PlayWaveFile((folder + "\\bad.wav").c_str());
    EXPECT_EQ(Mix_Playing(-1), 0) << bad.size();
    CloseSound();  // and forget the cached file
  }
  ASSERT_TRUE(OpenSound());
  WriteFileBytes(folder + "good.wav", Wave(1, 22050, 16, 44100));
  const std::string good = folder + "\\good.wav";
  LoadWaveFile(good.c_str());
  std::remove((folder + "good.wav").c_str());
  PlayWaveFile((folder + "missing.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 0);  // loading plays nothing
  PlayWaveFile(good.c_str());  // from the cache: the file is gone
  PlayWaveFile(good.c_str());  // on a second channel
  EXPECT_EQ(Mix_Playing(-1), 2);
  CloseSound();
  PlayWaveFile(good.c_str());  // closed: nothing, no crash
}

TEST_F(PlatformTest, PixelsAreReadRawAndBlitsCopyExactlyTheirSourceRectangle) {
  SDL_Surface *strip = Painted(40, 12), *wide = SDL_CreateRGBSurface(0, 2, 1, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  owned = {strip, wide};
  static_cast<uint8_t*>(strip->pixels)[strip->pitch * 11 + 78] = 0x1F;  // pixel (39, 11): bytes 1F F8
  static_cast<uint8_t*>(strip->pixels)[strip->pitch * 11 + 79] = 0xF8;
  static_cast<uint32_t*>(wide->pixels)[1] = 0x44332211;
  EXPECT_EQ(std::pair(ReadPixel(39, 11, strip), ReadPixel(1, 0, wide)), std::pair(0xF81Fu, 0x44332211u));
  for (auto [x, y] : {std::pair{40, 0}, {0, 12}, {-1, 0}, {0, -1}}) EXPECT_EQ(ReadPixel(x, y, strip), 0xFFFFFFFFu);
  EXPECT_EQ(ReadPixel(0, 0, nullptr), 0xFFFFFFFFu);
  BlitImagePart(strip, -3, 300, 9, 7, 23, 4);  // clipped at the left edge
  BlitImage(strip, 200, 310);
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x) {
      uint32_t want = x < 6 && y >= 300 && y < 307 ? ReadPixel(x + 26, y - 296, strip) : 0;
      if (x >= 200 && y >= 310) want = ReadPixel(x - 200, y - 310, strip);
      ASSERT_EQ(ScreenPixel(x, y), want) << x << "," << y;
    }
}

TEST_F(PlatformTest, RandomDrawStaysInRangeAndFollowsClockSaltAndLastResult) {
  std::set<int> small, wide;
  for (host.now = 0; host.now < 14000; host.now += 7) {
    small.insert(RandomInRange(1, 3, static_cast<int>(host.now)));
    wide.insert(RandomInRange(0, 500, 2222555));
  }
  EXPECT_EQ(std::tuple(small.size(), *small.begin(), *wide.begin(), *wide.rbegin()), std::tuple(2u, 1, 0, 499));
  host.now = 1234;
  const int first = RandomInRange(0, 1000000, 7), second = RandomInRange(0, 1000000, 7);
  EXPECT_NE(first, second);  // the last result takes part in the seed
  EXPECT_EQ(RandomInRange(first, first + 1, 99), first);  // the last result is `first` again
  EXPECT_EQ(RandomInRange(0, 1000000, 7), second);
  RandomInRange(first, first + 1, 99);
  EXPECT_NE(RandomInRange(0, 1000000, 8), second);
  RandomInRange(first, first + 1, 99);
  host.now = 1235;
  EXPECT_NE(RandomInRange(0, 1000000, 7), second);
}
