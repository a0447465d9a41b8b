// The host stand-ins: free memory, the single-instance lock, data and host paths, touch
// areas and wave playback.
#include <SDL/SDL_mixer.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance_lock.h"
#include "platform/memory.h"
#include "platform/paths.h"
#include "platform/rect.h"
#include "platform/sound.h"
#include "tests/support/resource_kit.h"

TEST(Platform, MemoryCheckIsFiveMillionBytesOfMemAvailable) {
  EXPECT_TRUE(EnoughMemory(5000000));
  EXPECT_FALSE(EnoughMemory(4999999));
  EXPECT_EQ(ParseMemAvailable("MemFree: 9 kB\nMemAvailable:    4883 kB\n"), 4883u * 1024);
  EXPECT_EQ(ParseMemAvailable("MemTotal: 5 kB\n"), UINT64_MAX);
  EXPECT_NE(AvailablePhysicalMemory(), UINT64_MAX);
}

TEST(Platform, InstanceLockRefusesASecondHolderUntilTheFirstIsKilled) {
  char dir[] = "/tmp/zorblats-lock-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  setenv("XDG_RUNTIME_DIR", dir, 1);
  EXPECT_EQ(InstanceLockPath("KYBRAN"), std::string(dir) + "/KYBRAN.lock");
  auto otherProcessGetsIt = [] {
    const pid_t child = fork();
    if (child == 0) _exit(AcquireInstanceLock("KYBRAN") ? 0 : 3);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  };
  EXPECT_TRUE(otherProcessGetsIt());  // and freed again when that process ended
  const pid_t holder = fork();
  if (holder == 0) {
    AcquireInstanceLock("KYBRAN");
    pause();
  }
  while (otherProcessGetsIt()) usleep(1000);  // until the holder has it
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(otherProcessGetsIt());
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceLockPath("KYBRAN"), "/tmp/KYBRAN-" + std::to_string(getuid()) + ".lock");
  Shell("rm -rf '" + std::string(dir) + "'");
}

TEST(Platform, DataPathsComeFromTheModulePath) {
  const struct {
    std::string module;
    const char *exe, *data;
  } cases[] = {{"\\Program Files\\Game\\zorblats", "\\Program Files\\Game\\", "\\Program Files\\Game\\data\\"},
               {"/opt/game/zorblats-1", "/opt/game/zo", "/opt/game/data\\"},  // cut by length
               {"zorblats", "", "zorblatsdata\\"},
               {"/" + std::string(kExeDirCapacity - 11, 'b') + "/zorblats", nullptr, nullptr},
               {"/" + std::string(kExeDirCapacity - 10, 'b') + "/zorblats", nullptr, nullptr}};
  for (const auto& c : cases) {
    char exe[kExeDirCapacity] = {}, data[kDataDirCapacity] = {};
    const bool fits = DerivePaths(c.module.c_str(), exe, data);
    EXPECT_EQ(fits, c.module.size() < kExeDirCapacity) << c.module;
    if (c.exe) { EXPECT_STREQ(exe, c.exe); }
    if (c.data) { EXPECT_STREQ(data, c.data); }
  }
  char path[kExeDirCapacity], tiny[4];
  ASSERT_TRUE(ReadModulePath(path, sizeof path));
  EXPECT_TRUE(std::string(path).ends_with("/platform_test"));
  EXPECT_FALSE(ReadModulePath(tiny, sizeof tiny));
}

TEST(Platform, GamePathsOpenAsHostPathsFromTheGameFolder) {
  char out[10];
  EXPECT_FALSE(HostPath("0123456789", out, 10));
  ASSERT_TRUE(HostPath("\\a//b\\c", out, 10));
  EXPECT_STREQ(out, "/a//b/c");
  char dir[] = "/tmp/zorblats-paths-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  ASSERT_EQ(Shell("mkdir '" + std::string(dir) + "/data' && echo hi > '" + dir + "/data/story'"), 0);
  ASSERT_TRUE(EnterFolder((std::string(dir) + "\\").c_str()));
  std::FILE* relative = OpenGameFile("data\\story", "rb");  // as the help pictures open
  ASSERT_NE(relative, nullptr);
  EXPECT_EQ(std::fgetc(relative), 'h');
  std::fclose(relative);
  EXPECT_FALSE(EnterFolder("\\no\\such\\folder"));
  ASSERT_EQ(chdir("/"), 0);
  Shell("rm -rf '" + std::string(dir) + "'");
}

TEST(Platform, TouchAreasHoldTheirLeftAndTopEdgesOnly) {
  constexpr Rect area{37, 60, 204, 83};
  EXPECT_TRUE(PtInRect(area, 37, 60) && PtInRect(area, 203, 82));
  EXPECT_FALSE(PtInRect(area, 204, 70) || PtInRect(area, 100, 83) || PtInRect(area, 36, 70) ||
               PtInRect(area, 100, 59));
}

// A mono 16-bit wave whose format fields and data claim can be spoiled.
Bytes Wave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t claim, size_t bytes) {
  Bytes b = {'R', 'I', 'F', 'F'};
  Put(b, static_cast<uint32_t>(36 + bytes));
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<uint8_t>(c));
  for (uint32_t v : {16u, 1u | channels << 16, rate, rate * channels * bits / 8}) Put(b, v);
  Put(b, static_cast<uint32_t>(channels * bits / 8 | bits << 16));
  for (char c : std::string("data")) b.push_back(static_cast<uint8_t>(c));
  Put(b, claim);
  for (size_t i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(i * 37));
  return b;
}

TEST(Platform, DamagedWavesAreSilentAndSpoilNoOtherSound) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(0), 0);
  PlayWaveFile("/nowhere/0.wav");  // before the device is open
  ASSERT_TRUE(OpenSound());
  char dir[] = "/tmp/zorblats-sound-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string d = dir;
  Bytes cut = Wave(1, 22050, 16, 2000, 2000);
  cut.resize(30);
  const Bytes damaged[] = {{}, Gzip(Bytes(300, 7)), Wave(0, 22050, 16, 2000, 2000), Wave(1, 0, 16, 2000, 2000),
                           Wave(1, 22050, 13, 2000, 2000), cut};
  for (const Bytes& bytes : damaged) {
    WriteFileBytes(d + "/bad.wav", bytes);
    PlayWaveFile((d + "\\bad.wav").c_str());
    EXPECT_EQ(Mix_Playing(-1), 0) << bytes.size();
    CloseSound();  // forget the cached file
    ASSERT_TRUE(OpenSound());
  }
  PlayWaveFile((d + "\\missing.wav").c_str());
  WriteFileBytes(d + "/good.wav", Wave(1, 22050, 16, 44100, 44100));
  LoadWaveFile((d + "\\good.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 0);  // loading plays nothing
  std::remove((d + "/good.wav").c_str());
  PlayWaveFile((d + "\\good.wav").c_str());  // from the cache, the file is gone
  PlayWaveFile((d + "\\good.wav").c_str());  // on a second channel
  EXPECT_EQ(Mix_Playing(-1), 2);
  CloseSound();
  PlayWaveFile((d + "\\good.wav").c_str());  // closed: nothing, no crash
  SDL_Quit();
  Shell("rm -rf '" + d + "'");
}
