// What players who keep their files in odd places meet: saves (of the display config too) next
// to read-only files and folders, through links to files, pipes and devices, beside stray
// temporary files, killed midway, on a full disk; the settings file field by field, and how the
// high-score table makes room for a new entry.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <regex>
#include <tuple>

#include "platform/config_file.h"
#include "resources/pack.h"
#include "resources/pack_build.h"
#include "settings/settings.h"
#include "tests/support/harness.h"

class SavesAndPacks : public GameTest {
 protected:
  void TearDown() override {
    if (!nobodys.empty())
      std::system(("chmod -R u+w '" + nobodys + "'; rm -rf '" + nobodys + "'").c_str());
    GameTest::TearDown();
  }
  // The folder for the saves. As root they run as nobody, whom mode bits bind: in a folder of
  // nobody's own under /tmp ($TMPDIR may be private, mode 0700), removed with the test.
  std::string SavesFolder() {
    char own[] = "/tmp/zorblats-nobody-XXXXXX";
    if (geteuid() != 0) return folder;
    if (!mkdtemp(own)) return "";
    nobodys = own + std::string("/");
    std::system(("chown -R 65534 " + nobodys).c_str());
    return nobodys;
  }
  std::string nobodys;
};

TEST_F(SavesAndPacks, SavesFollowTheFileThroughOddFoldersLinksPipesAndStrayFiles) {
  Bytes settings(kSettingsFileSize);
  EncodeSettings(SettingsRecord{}, settings.data());
  const std::string config = FormatDisplayConfig({false});
  // Shell commands in a folder that holds an old settings file or display config; the file
  // the saves land in (none: not a regular file); whether two saves succeed; a shell check of
  // the folder afterwards. The test reads a pipe named "pipe"; nobody reads one named "unread".
  // Run as nobody, no fault could replace /dev/null: a link to it must stay a link.
  const struct Case {
    const char *file, *make, *holder;
    bool saved;
    const char* after = "true";
  } cases[] = {
      {"zorblats.set", "chmod 444 zorblats.set", "zorblats.set", false},
      {"zorblats.set", "chmod 600 zorblats.set", "zorblats.set", true,
       "[ $(stat -c %a zorblats.set) = 600 ]"},
      {"zorblats.set", "chmod 555 .", "zorblats.set", true},
      {"zorblats.set", "rm zorblats.set && chmod 555 .", "zorblats.set", false},
      {"zorblats.set", "mkdir a && mv zorblats.set a/real.set && ln -s a/real.set zorblats.set",
       "a/real.set", true},
      {"zorblats.set", "mkdir a && rm zorblats.set && ln -s a/new.set zorblats.set", "a/new.set",
       true, "[ -L zorblats.set ]"},
      {"zorblats.set", "mkdir zorblats.tmp && ln zorblats.set ../was", "zorblats.set", true,
       "[ zorblats.set -ef ../was ]"},  // rewritten where it stands
      {"zorblats.set", "touch zorblats.tmp && chmod 444 zorblats.tmp", "zorblats.set", true},
      {"zorblats.set", "touch v && chmod 444 v && ln -s v zorblats.tmp", "zorblats.set", true},
      {"zorblats.set", "ln -sf /dev/null zorblats.set", nullptr, true, "[ -L zorblats.set ]"},
      {"zorblats.set", "mkfifo pipe && ln -sf pipe zorblats.set", nullptr, true, "[ -p pipe ]"},
      {"zorblats.set", "mkfifo unread && ln -sf unread zorblats.set", nullptr, false,
       "[ -p unread ]"},
      {"zorblats.conf", "mkdir a && mv zorblats.conf a/c && ln -s a/c zorblats.conf", "a/c", true},
      {"zorblats.conf", "chmod 555 .", "zorblats.conf", true},
      {"zorblats.conf", "mkdir zorblats.conf.new && ln zorblats.conf ../was", "zorblats.conf", true,
       "[ zorblats.conf -ef ../was ]"},
      {"zorblats.conf", "ln -sf /dev/null zorblats.conf", nullptr, true, "[ -L zorblats.conf ]"},
  };
  const bool root = geteuid() == 0;  // root writes through any mode bits: the saves run as nobody
  const std::string own = SavesFolder();
  ASSERT_FALSE(own.empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.make);
    const std::string base = own + std::to_string(&c - cases), d = base + "/zorblats/";
    ASSERT_EQ(std::system(("mkdir -p " + d + " && cd " + d + " && echo old > " + c.file + " && " +
                           c.make + (root ? " && chown -R 65534 " + own : ""))
                              .c_str()),
              0);
    std::snprintf(DataDir, sizeof DataDir, "%s", d.c_str());
    setenv("XDG_CONFIG_HOME", base.c_str(), 1);
    const bool isConfig = std::string(c.file) == "zorblats.conf";
    const Bytes was = c.holder ? ReadFileBytes(d + c.holder) : Bytes{};
    const int pipe = open((d + "pipe").c_str(), O_RDONLY | O_NONBLOCK);
    boxes.shown.clear();
    Settings = SettingsRecord{};
    ASSERT_EQ(root ? seteuid(65534) : 0, 0);
    bool saved = true;
    for (int save = 0; save < 2; ++save)
      saved &= isConfig ? SaveDisplayConfig({false}) : SaveSettings();
    isConfig ? void(LoadDisplayConfig()) : LoadSettings();  // a pipe is not read, nor waited for
    ASSERT_EQ(root ? seteuid(0) : 0, 0);
    EXPECT_EQ(saved, c.saved);
    EXPECT_EQ(boxes.shown.size(), c.saved || isConfig ? 0u : 2u);  // one box a failed save
    EXPECT_EQ(std::system(("cd " + d + " && " + c.after).c_str()), 0) << c.after;
    char received[1000];
    if (pipe >= 0) {
      EXPECT_EQ(read(pipe, received, sizeof received), 2 * ssize_t(kSettingsFileSize));
      close(pipe);
    }
    if (!c.holder) continue;
    const Bytes now = isConfig ? Bytes(config.begin(), config.end()) : settings;
    EXPECT_EQ(ReadFileBytes(d + c.holder), c.saved ? now : was);
  }
}

TEST_F(SavesAndPacks, EveryFieldLiesAtItsOffsetLittleEndian) {
  std::vector<uint8_t> bytes(kSettingsFileSize);
  // Every byte different, but each name two letters long with more bytes behind its zero.
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = i >= 8 && i < 156 && (i - 8) % 30 == 0 ? 0 : uint8_t(i * 7 + 3);
  WriteFileBytes(folder + "data/zorblats.set", bytes);  // its last byte is read and dropped
  Settings = SettingsRecord{};
  LoadSettings();
  const SettingsRecord& s = Settings;
  const uint32_t kFields[][3] = {{0, 2, s.spareWordA},  {2, 2, uint16_t(s.difficulty)},
                                 {4, 2, s.spareWordB},  {176, 1, s.soundOn},
                                 {177, 1, s.spareFlag}, {178, 2, s.spareNumber},
                                 {210, 0, s.reserved}};
  for (const auto& [at, size, value] : kFields) {
    uint32_t expected = 0;
    for (uint32_t i = 0; i < size; ++i) expected |= uint32_t(bytes[at + i]) << (8 * i);
    EXPECT_EQ(value, expected) << "offset " << at;
  }
  const struct {
    const void* field;
    size_t at, size;
  } kRaw[] = {{s.highScoreNames, 6, 150}, {s.highScores, 156, 20}, {s.spareName, 180, 30}};
  for (const auto& [field, at, size] : kRaw)
    EXPECT_EQ(std::memcmp(field, &bytes[at], size), 0) << "offset " << at;
  Settings.reserved = 9;  // saved as 0
  bytes[210] = 0;
  MakeRoomAt(4);  // nothing moves
  MakeRoomAt(1);  // places 1 to 3 move down, each name up to its zero; place 1 keeps its entry
  for (int j = 3; j >= 1; --j) {
    std::memcpy(&bytes[36 + 30 * j], &bytes[6 + 30 * j], 3);
    std::memcpy(&bytes[160 + 4 * j], &bytes[156 + 4 * j], 4);
  }
  SaveSettings();
  EXPECT_EQ(ReadFileBytes(folder + "data/zorblats.set"), bytes);

  // A file cut short: the fields its bytes reach are taken, a field it cuts keeps the rest of
  // what it held (here the defaults).
  for (size_t cut : {3u, 20u, 159u, 179u}) {
    WriteFileBytes(folder + "data/zorblats.set", Bytes(bytes.begin(), bytes.begin() + cut));
    Settings = SettingsRecord{};
    LoadSettings();
    Bytes expected(kSettingsFileSize), got(kSettingsFileSize);
    EncodeSettings(SettingsRecord{}, expected.data());
    std::copy(bytes.begin(), bytes.begin() + cut, expected.begin());
    EncodeSettings(Settings, got.data());
    EXPECT_EQ(got, expected) << cut << " bytes";
  }
}

// Lets a traced child run to its n-th stop at a system call (before and after each) and kills
// it there; false when it ended before that stop.
static bool KillAtStop(pid_t child, int n) {
  int status = 0, signal = 0;
  waitpid(child, &status, 0);  // stopped by its own SIGSTOP
  ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
  for (int stops = 0; stops < n; stops += signal == 0) {
    ptrace(PTRACE_SYSCALL, child, nullptr, reinterpret_cast<void*>(intptr_t(signal)));
    waitpid(child, &status, 0);
    if (!WIFSTOPPED(status)) return false;
    signal = WSTOPSIG(status) == (SIGTRAP | 0x80) ? 0 : WSTOPSIG(status);  // others go on
  }
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  return true;
}

// A save killed at any moment leaves the file whole: the old table or the new one, never a
// mixture or a short file. A child saves the new table over the old and is killed at each
// stop at a system call of the save in turn, until one save ends untouched.
TEST_F(SavesAndPacks, ASaveKilledAtAnyMomentLeavesTheOldFileOrTheNew) {
  const std::string path = folder + "data/zorblats.set";
  const auto save = [](int t) {  // table t: difficulty t, scores (t + 1) * 1000 down
    Settings = SettingsRecord{};
    Settings.difficulty = static_cast<int16_t>(t);
    for (int p = 0; p < kHighScorePlaces; ++p) Settings.highScores[p] = (t + 1) * 1000 - p;
    return SaveSettings();
  };
  const auto saved = [&](int t) { return save(t) ? ReadFileBytes(path) : Bytes{}; };
  const Bytes tables[2] = {saved(0), saved(1)};
  ASSERT_NE(tables[0], tables[1]);
  std::string seen;  // the file at each kill: o the old, n the new, ? anything else
  for (int stop = 1;; ++stop) {
    WriteFileBytes(path, tables[0]);
    const pid_t saver = fork();
    if (saver == 0) {
      if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(99);
      raise(SIGSTOP);
      _exit(save(1) ? 0 : 1);
    }
    if (!KillAtStop(saver, stop)) break;
    const Bytes file = ReadFileBytes(path);
    seen += file == tables[0] ? 'o' : file == tables[1] ? 'n' : '?';
  }
  if (seen.empty()) GTEST_SKIP() << "no child can be traced here: the killed save is untested";
  EXPECT_TRUE(std::regex_match(seen, std::regex("o+n+"))) << seen;
}

// Mounts a 4 KiB file system on `path` in a mount namespace of this (child) process alone:
// as root, or as a user where the kernel lets users make namespaces.
static bool MountTinyDisk(const std::string& path) {
  const auto put = [](const char* file, const std::string& text) {
    std::FILE* f = std::fopen(file, "w");
    return f && std::fputs(text.c_str(), f) >= 0 && std::fclose(f) == 0;
  };
  const std::string uid = std::to_string(getuid()), gid = std::to_string(getgid());
  if (unshare(CLONE_NEWNS) != 0 &&
      (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !put("/proc/self/setgroups", "deny") ||
       !put("/proc/self/uid_map", uid + " " + uid + " 1") ||
       !put("/proc/self/gid_map", gid + " " + gid + " 1"))) {
    return false;
  }
  return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         mount("tmpfs", path.c_str(), "tmpfs", 0, "size=4k") == 0;
}

// A disk that fills up. Full in the middle of the rewrite in place (a 100-byte file size limit
// in a folder that takes no new files): the save fails and the file keeps its full length,
// never short. Too full for a second copy of the file (a 4 KiB disk that the old file fills):
// the save rewrites the file where it stands.
TEST_F(SavesAndPacks, AFullDiskTakesTheSaveInPlaceOrLeavesTheFileItsLength) {
  const std::string own = SavesFolder(), d = own + "data/";
  ASSERT_FALSE(own.empty());
  std::snprintf(DataDir, sizeof DataDir, "%s", d.c_str());
  ASSERT_EQ(std::system(("mkdir -p " + d).c_str()), 0);
  Settings = SettingsRecord{};
  ASSERT_TRUE(SaveSettings());
  const bool root = geteuid() == 0;  // root writes into any folder: that save runs as nobody
  ASSERT_EQ(std::system(("chmod 555 " + d + (root ? " && chown -R 65534 " + own : "")).c_str()), 0);
  // The disk, and whether the save succeeds and leaves the new table in the file; either way
  // the file keeps its 211 bytes. The child tells them as bits of its exit status.
  for (const auto& [tinyDisk, saved] : {std::pair{false, false}, {true, true}}) {
    const pid_t saver = fork();
    if (saver == 0) {
      const rlimit full{100, RLIM_INFINITY};
      signal(SIGXFSZ, SIG_IGN);
      if (tinyDisk ? !MountTinyDisk(d) || !SaveSettings()
                   : (root && setuid(65534) != 0) || setrlimit(RLIMIT_FSIZE, &full) != 0)
        _exit(99);
      Settings.highScores[4] = 2;  // at byte 172
      Bytes now(kSettingsFileSize);
      EncodeSettings(Settings, now.data());
      const bool saved = SaveSettings();
      const Bytes file = ReadFileBytes(d + "zorblats.set");
      _exit(saved | (file == now) << 1 | (file.size() == kSettingsFileSize) << 2);
    }
    int status = -1;
    waitpid(saver, &status, 0);
    if (WEXITSTATUS(status) == 99 && tinyDisk)
      GTEST_SKIP() << "no 4 KiB file system can be mounted here: the save on a full disk is "
                      "untested";
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) < 8) << status;
    EXPECT_EQ(WEXITSTATUS(status), saved * 3 + 4)
        << "saved, the new table, 211 bytes; tiny disk " << tinyDisk;
  }
}
