// Start-up for real, headless: the two refusals, then the screen, the caption and the folders.
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "app/startup.h"
#include "platform/memory.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "resources/draw.h"
#include "tests/support/harness.h"

TEST(StartUp, RefusesTooLittleMemoryAndASecondCopyAndOtherwiseOpensTheScreen) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  char runtime[] = "/tmp/zorblats-start-XXXXXX";
  setenv("XDG_RUNTIME_DIR", mkdtemp(runtime), 1);
  ScriptedMessageBox boxes;
  UseMessageBoxHandler(&boxes);
  ScreenSurface = nullptr;
  UseMemorySource([]() -> uint64_t { return 4999999; });
  EXPECT_EQ(StartUp(), StartupOutcome::NotEnoughMemory);
  EXPECT_EQ(ScreenSurface, nullptr);
  UseMemorySource([]() -> uint64_t { return 5000000; });
  ASSERT_EQ(StartUp(), StartupOutcome::Run);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text + boxes.shown[0].caption + std::to_string(boxes.shown[0].style),
            "Not enough memory!\nYou need at least 5MB of free memory.Error0");
  if (fork() == 0) _exit(StartUp() == StartupOutcome::AlreadyRunning ? 0 : 1);
  int status = -1;
  wait(&status);
  EXPECT_EQ(status, 0) << "a second copy ends quietly";

  char* title = nullptr;
  SDL_WM_GetCaption(&title, nullptr);
  EXPECT_EQ(std::to_string(ScreenSurface->w) + "x" + std::to_string(ScreenSurface->h) + "x" +
                std::to_string(ScreenSurface->format->BitsPerPixel) + title, "240x320x16ZORBLATS");
  EXPECT_NE(MainWindow, nullptr);
  char exe[PATH_MAX] = {}, cwd[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  const std::string folder = std::string(exe).substr(0, std::string(exe).rfind('/') + 1);
  EXPECT_EQ(std::string(DataDir) + " " + getcwd(cwd, sizeof cwd) + "/", folder + "data\\ " + folder);
  UseMemorySource(nullptr);
  UseMessageBoxHandler(nullptr);
  SDL_Quit();
  std::system(("rm -rf " + std::string(runtime)).c_str());
}
