// The host stand-ins: memory figure, single-instance lock, data paths, host paths,
// working folder and sound playback.
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/instance_lock.h"
#include "platform/memory.h"
#include "platform/paths.h"
#include "platform/rect.h"
#include "platform/sound.h"
#include "tests/support/harness.h"

TEST(Memory, ThresholdIsFiveMillionBytesExactly) {
  EXPECT_TRUE(EnoughMemory(5000000));
  EXPECT_FALSE(EnoughMemory(4999999));
  EXPECT_FALSE(EnoughMemory(5u * 1024 * 1024 - 250000));  // not a mebibyte threshold
  EXPECT_TRUE(EnoughMemory(UINT64_MAX));                  // unknown reading never refuses
}

TEST(Memory, ReadsMemAvailableInBytes) {
  const char text[] =
      "MemTotal:       24000000 kB\nMemFree:          100 kB\nMemAvailable:    4883 kB\n";
  EXPECT_EQ(ParseMemAvailable(text), 4883u * 1024);
  EXPECT_EQ(ParseMemAvailable("MemTotal: 5 kB\n"), UINT64_MAX);
  EXPECT_GT(AvailablePhysicalMemory(), 0u);
  EXPECT_NE(AvailablePhysicalMemory(), UINT64_MAX);  // this machine has /proc/meminfo
}

TEST(Memory, SourceCanBeReplacedForTests) {
  UseMemorySource([]() -> uint64_t { return 4999999; });
  EXPECT_EQ(ReadFreeMemory(), 4999999u);
  UseMemorySource(nullptr);
  EXPECT_NE(ReadFreeMemory(), 4999999u);
}

class LockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorblats-lock-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
  // Runs AcquireInstanceLock in a fresh process; its exit status says whether it got it.
  static bool OtherProcessGetsLock() {
    pid_t child = fork();
    if (child == 0) _exit(AcquireInstanceLock("KYBRAN") ? 0 : 3);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  std::string dir;
};

TEST_F(LockTest, LockFileLivesInTheRuntimeFolder) {
  EXPECT_EQ(InstanceLockPath("KYBRAN"), dir + "/KYBRAN.lock");
  unsetenv("XDG_RUNTIME_DIR");
  const std::string fallback = InstanceLockPath("KYBRAN");
  EXPECT_EQ(fallback.rfind("/tmp/KYBRAN-", 0), 0u);
  EXPECT_NE(fallback.find(std::to_string(getuid())), std::string::npos);
}

TEST_F(LockTest, SecondHolderIsRefusedWhileTheFirstRuns) {
  EXPECT_TRUE(OtherProcessGetsLock());  // free at first, and freed when that process ended
  ASSERT_TRUE(AcquireInstanceLock("KYBRAN"));
  EXPECT_FALSE(OtherProcessGetsLock());
}

TEST_F(LockTest, LockIsFreeAgainAfterTheHolderIsKilled) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t holder = fork();
  if (holder == 0) {
    char ok = AcquireInstanceLock("KYBRAN") ? 'y' : 'n';
    (void)!write(ready[1], &ok, 1);
    pause();
    _exit(0);
  }
  char got = 0;
  ASSERT_EQ(read(ready[0], &got, 1), 1);
  ASSERT_EQ(got, 'y');
  EXPECT_FALSE(OtherProcessGetsLock());
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(OtherProcessGetsLock());
}

TEST(DataPaths, FromTheHandheldStylePath) {
  char exe[kExeDirCapacity], data[kDataDirCapacity];
  ASSERT_TRUE(DerivePaths("\\Program Files\\Game\\zorblats", exe, data));
  EXPECT_STREQ(exe, "\\Program Files\\Game\\");
  EXPECT_STREQ(data, "\\Program Files\\Game\\data\\");
}

TEST(DataPaths, FromALinuxPath) {
  char exe[kExeDirCapacity], data[kDataDirCapacity];
  ASSERT_TRUE(DerivePaths("/home/ann/games/zorblats", exe, data));
  EXPECT_STREQ(exe, "/home/ann/games/");
  EXPECT_STREQ(data, "/home/ann/games/data\\");
}

TEST(DataPaths, WithoutAnySeparatorDataDirIsTheWholePathPlusData) {
  char exe[kExeDirCapacity], data[kDataDirCapacity];
  ASSERT_TRUE(DerivePaths("zorblats", exe, data));
  EXPECT_STREQ(data, "zorblatsdata\\");
  EXPECT_STREQ(exe, "");
}

TEST(DataPaths, ExeDirIsCutByLengthNotAtASeparator) {
  char exe[kExeDirCapacity], data[kDataDirCapacity];
  // A renamed executable keeps the cut at eight characters from the end.
  ASSERT_TRUE(DerivePaths("/opt/game/zorblats-1", exe, data));
  EXPECT_STREQ(exe, "/opt/game/zo");
  EXPECT_STREQ(data, "/opt/game/data\\");
}

TEST(DataPaths, TooLongForTheCapacitiesIsRefused) {
  char exe[kExeDirCapacity], data[kDataDirCapacity];
  std::string longPath = "/" + std::string(270, 'a') + "/zorblats";
  EXPECT_FALSE(DerivePaths(longPath.c_str(), exe, data));
  std::string justFits = "/" + std::string(kExeDirCapacity - 11, 'b') + "/zorblats";
  ASSERT_EQ(justFits.size(), kExeDirCapacity - 1);
  EXPECT_TRUE(DerivePaths(justFits.c_str(), exe, data));
}

TEST(DataPaths, ModulePathIsThisProgram) {
  char path[kExeDirCapacity];
  ASSERT_TRUE(ReadModulePath(path, sizeof path));
  EXPECT_NE(std::strstr(path, "platform_test"), nullptr);
  char tiny[4];
  EXPECT_FALSE(ReadModulePath(tiny, sizeof tiny));
}

TEST(HostPaths, BackslashesBecomeSlashesAndDoublesAreHarmless) {
  char out[64];
  ASSERT_TRUE(HostPath("/game/\\data\\0.pak", out, sizeof out));
  EXPECT_STREQ(out, "/game//data/0.pak");
  ASSERT_TRUE(HostPath("/game///data//1.pak", out, sizeof out));
  EXPECT_STREQ(out, "/game///data//1.pak");
  EXPECT_FALSE(HostPath("0123456789", out, 10));  // needs 11 bytes with the zero
  EXPECT_TRUE(HostPath("012345678", out, 10));
}

TEST(HostPaths, OpensFilesWithBackslashPathsAndEntersFolders) {
  char pattern[] = "/tmp/zorblats-paths-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  ASSERT_EQ(std::system(("mkdir -p '" + dir + "/data' && echo hello > '" + dir + "/data/story'").c_str()), 0);
  std::FILE* f = OpenGameFile((dir + "//data\\story").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char text[6] = {};
  EXPECT_EQ(std::fread(text, 1, 5, f), 5u);
  std::fclose(f);
  EXPECT_STREQ(text, "hello");

  ASSERT_TRUE(EnterFolder((dir + "\\").c_str()));
  std::FILE* relative = OpenGameFile("data\\story", "rb");  // as the help pictures open
  EXPECT_NE(relative, nullptr);
  if (relative) std::fclose(relative);
  EXPECT_FALSE(EnterFolder((dir + "/missing").c_str()));
  std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(TouchAreas, RightAndBottomEdgesLieOutside) {
  constexpr Rect area{37, 60, 204, 83};
  EXPECT_TRUE(PtInRect(area, 37, 60));
  EXPECT_TRUE(PtInRect(area, 203, 82));
  EXPECT_FALSE(PtInRect(area, 204, 70));
  EXPECT_FALSE(PtInRect(area, 100, 83));
  EXPECT_FALSE(PtInRect(area, 36, 70));
  EXPECT_FALSE(PtInRect(area, 100, 59));
}

// A mono 16-bit PCM WAV of `samples` samples of a square wave.
static std::vector<uint8_t> SquareWave(int samples) {
  std::vector<uint8_t> b;
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); };
  auto u16 = [&](uint16_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); };
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  u32(36 + samples * 2);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  u32(16); u16(1); u16(1); u32(22050); u32(44100); u16(2); u16(16);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  u32(samples * 2);
  for (int i = 0; i < samples; ++i) u16((i / 20) % 2 ? 8000 : uint16_t(-8000));
  return b;
}

TEST(Sound, MixerPlaysAFileAndStaysSilentForMissingOrDamagedOnes) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(0), 0);
  PlayWaveFile("/nowhere/0.wav");  // before the device is open: nothing, no crash
  ASSERT_TRUE(OpenSound());

  char pattern[] = "/tmp/zorblats-sound-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  WriteFileBytes(dir + "/good.wav", SquareWave(22050));
  WriteFileBytes(dir + "/bad.wav", {'R', 'I', 'F', 'F', 1, 2, 3});

  PlayWaveFile((dir + "\\missing.wav").c_str());
  PlayWaveFile((dir + "\\bad.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 0);
  PlayWaveFile((dir + "\\good.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 1);
  PlayWaveFile((dir + "\\good.wav").c_str());  // cached, started on a second channel
  EXPECT_EQ(Mix_Playing(-1), 2);

  // A sound loaded at start plays later without reading its file again.
  WriteFileBytes(dir + "/early.wav", SquareWave(22050));
  LoadWaveFile((dir + "\\early.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 2);  // loading plays nothing
  std::remove((dir + "/early.wav").c_str());
  PlayWaveFile((dir + "\\early.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 3);

  CloseSound();
  PlayWaveFile((dir + "\\good.wav").c_str());  // after closing: silent
  SDL_Quit();
  std::system(("rm -rf '" + dir + "'").c_str());
}
