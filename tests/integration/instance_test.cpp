// The built game as a player starts it, headless: a second copy while one runs ends at once
// and quietly, and a copy killed with SIGKILL does not keep the next one from starting.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

class InstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorblats-instance-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    runtime = pattern;
    game = std::string(ZORBLATS_GAME_DIR) + "/zorblats";
    ASSERT_EQ(access(game.c_str(), X_OK), 0) << game << " is not built";
  }
  void TearDown() override {
    for (pid_t pid : started) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    std::system(("rm -rf '" + runtime + "'").c_str());
  }

  // Starts the game with the dummy drivers and a runtime folder of this test's own.
  pid_t Start() {
    const pid_t pid = fork();
    if (pid == 0) {
      setenv("SDL_VIDEODRIVER", "dummy", 1);
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      execl(game.c_str(), "zorblats", static_cast<char*>(nullptr));
      _exit(127);
    }
    started.push_back(pid);
    return pid;
  }
  // Whether a process holds the game's instance lock right now.
  bool LockIsHeld() const {
    const std::string path = runtime + "/KYBRAN.lock";
    const int fd = open(path.c_str(), O_RDWR);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return held;
  }
  bool WaitForLock(std::chrono::milliseconds limit) const {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
      if (LockIsHeld()) return true;
      std::this_thread::sleep_for(20ms);
    }
    return false;
  }
  // The exit status of a process that ends within the limit, or -1 if it keeps running.
  int ExitWithin(pid_t pid, std::chrono::milliseconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        std::erase(started, pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(20ms);
    }
    return -1;
  }

  std::string runtime, game;
  std::vector<pid_t> started;
};

TEST_F(InstanceTest, ASecondCopyEndsAtOnceAndAKilledCopyLeavesNoLockBehind) {
  const pid_t first = Start();
  ASSERT_TRUE(WaitForLock(20s)) << "the first copy never took the lock";
  ASSERT_EQ(ExitWithin(first, 500ms), -1) << "the first copy should keep running in its menu";

  const pid_t second = Start();
  EXPECT_EQ(ExitWithin(second, 10s), 0) << "a second copy ends quietly with status 0";
  EXPECT_EQ(ExitWithin(first, 0ms), -1) << "and leaves the first one running";

  kill(first, SIGKILL);
  EXPECT_EQ(ExitWithin(first, 5s), 128 + SIGKILL);
  EXPECT_FALSE(LockIsHeld()) << "the kernel freed the killed copy's lock";

  const pid_t third = Start();
  ASSERT_TRUE(WaitForLock(20s)) << "the third copy never took the lock";
  EXPECT_EQ(ExitWithin(third, 1500ms), -1) << "the third copy keeps running";
  kill(third, SIGTERM);
  EXPECT_NE(ExitWithin(third, 10s), -1) << "and ends when asked";
}

}  // namespace
