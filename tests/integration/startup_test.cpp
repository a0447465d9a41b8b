// The real start-up sequence, headless: checks, paths, SDL and the screen.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/startup.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "resources/draw.h"
#include "tests/support/harness.h"

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    char pattern[] = "/tmp/zorblats-start-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    runtime = pattern;
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    UseMessageBoxHandler(&boxes);
  }
  void TearDown() override {
    UseMessageBoxHandler(nullptr);
    UseMemorySource(nullptr);
    SDL_Quit();
    std::system(("rm -rf '" + runtime + "'").c_str());
  }
  std::string runtime;
  ScriptedMessageBox boxes;
};

TEST_F(StartupTest, OpensTheScreenNamesTheWindowAndFindsTheFolders) {
  ASSERT_EQ(StartUp(), StartupOutcome::Run);
  ASSERT_NE(ScreenSurface, nullptr);
  EXPECT_EQ(ScreenSurface->w, 240);
  EXPECT_EQ(ScreenSurface->h, 320);
  EXPECT_EQ(ScreenSurface->format->BitsPerPixel, 16);
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  ASSERT_NE(title, nullptr);
  EXPECT_STREQ(title, "ZORBLATS");
  EXPECT_NE(MainWindow, nullptr);

  // The folders come from this program's own path, cut by the game's executable name.
  char module[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", module, sizeof module - 1);
  ASSERT_GT(n, 0);
  module[n] = 0;
  const std::string path = module;
  const std::string folder = path.substr(0, path.rfind('/') + 1);
  EXPECT_EQ(std::string(DataDir), folder + "data\\");
  EXPECT_EQ(std::string(ExeDir), path.substr(0, path.size() - std::strlen(kExeName)));
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(cwd) + "/", folder);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StartupTest, ASecondCopyIsRefusedSilently) {
  ASSERT_EQ(StartUp(), StartupOutcome::Run);
  pid_t child = fork();
  if (child == 0) _exit(StartUp() == StartupOutcome::AlreadyRunning ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(StartupTest, TooLittleMemoryShowsTheMessageAndOpensNothing) {
  UseMemorySource([]() -> uint64_t { return 4999999; });
  ScreenSurface = nullptr;
  EXPECT_EQ(StartUp(), StartupOutcome::NotEnoughMemory);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Not enough memory!\nYou need at least 5MB of free memory.");
  EXPECT_EQ(boxes.shown[0].caption, "Error");
  EXPECT_EQ(boxes.shown[0].style, MB_OK);
  EXPECT_EQ(ScreenSurface, nullptr);
}

TEST_F(StartupTest, ExactlyFiveMillionBytesIsEnough) {
  UseMemorySource([]() -> uint64_t { return 5000000; });
  EXPECT_EQ(StartUp(), StartupOutcome::Run);
  EXPECT_TRUE(boxes.shown.empty());
}
