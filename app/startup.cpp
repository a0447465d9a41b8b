#include "app/startup.h"

#include <SDL/SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/driver.h"
#include "app/replay_session.h"
#include "platform/gamepad.h"
#include "platform/instance_lock.h"
#include "platform/lost_display.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/signals.h"
#include "platform/sound.h"
#include "platform/screen.h"
#include "resources/draw.h"
#include "settings/settings.h"

namespace {

constexpr char kInstanceName[] = "KYBRAN";
constexpr char kCaption[] = "ZORBLATS";

}  // namespace

std::string InitDataPaths() {
  char modulePath[4096];
  if (!ReadModulePath(modulePath, sizeof modulePath)) return "the game's own path cannot be read";
  if (const char* problem = PathProblem(modulePath)) {
    return std::string("the game's path ") + modulePath + " " + problem;
  }
  if (!DerivePaths(modulePath, ExeDir, DataDir)) return "the game's data folder path is too long";
  // The executable's folder is DataDir without its "data\"; ExeDir is only that folder
  // while the executable keeps its own name.
  char folder[kDataDirCapacity];
  std::snprintf(folder, sizeof folder, "%s", DataDir);
  folder[std::strlen(folder) - std::strlen("data\\")] = 0;
  const std::string noSaves = ChooseSettingsFolder(kSettingsFileName);
  if (!noSaves.empty()) std::fprintf(stderr, "zorblats: %s\n", noSaves.c_str());
  if (folder[0] != 0 && !EnterFolder(folder)) {
    return std::string("the game's folder ") + folder +
           " cannot be entered: " + std::strerror(errno);
  }
  return {};
}

StartupOutcome StartUp() {
  if (!EnoughMemory(ReadFreeMemory())) {
    ShowMessageBox("Not enough memory!\nYou need at least 5MB of free memory.", "Error", MB_OK);
    return StartupOutcome::NotEnoughMemory;
  }
  if (!AcquireInstanceLock(kInstanceName)) return StartupOutcome::AlreadyRunning;
  if (const std::string bad = InitDataPaths(); !bad.empty()) {
    std::fprintf(stderr, "zorblats: %s\n", bad.c_str());
    return StartupOutcome::BadPaths;
  }
  if (std::string why; !OpenReplaySession(why)) {
    std::fprintf(stderr, "zorblats: %s\n", why.c_str());
    return StartupOutcome::BadReplay;
  }

  PrepareScreen();
  CatchEndSignals();
  PrepareGamepads();
  // Audio, then video, SDL closed on a failure (the handheld's order); OpenGameScreen opens video.
  if (SDL_Init(SDL_INIT_AUDIO) < 0) {
    SDL_Quit();
  } else if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    SDL_Quit();
  }
  SDL_Init(SDL_INIT_NOPARACHUTE);

  ScreenSurface = OpenGameScreen();
  if (!ScreenSurface) {
    std::fprintf(stderr, "zorblats: cannot open the 240 x 320 screen: %s\n", SDL_GetError());
    SDL_Quit();
    return StartupOutcome::NoVideo;
  }
  EndOnLostDisplay();
  // The message boxes are drawn on the game's own screen: no window handle is kept for them.
  SDL_WM_SetCaption(kCaption, nullptr);
  // The handheld took its hardware keys here; a desktop keyboard needs nothing.
  std::atexit(SDL_Quit);
  SDL_EnableUNICODE(1);
  OpenGamepads();
  OpenSound();  // no audio device: the game plays silently
  return StartupOutcome::Run;
}

void Shutdown(int status) {
  CloseSound();
  SDL_Quit();
  std::exit(status);
}

int WinMain() {
  switch (StartUp()) {
    case StartupOutcome::Run:
      break;
    case StartupOutcome::NotEnoughMemory:
      std::exit(0);
    case StartupOutcome::AlreadyRunning:
      if (const std::string why = WhyNotBesideAnotherCopy(); !why.empty()) {
        std::fprintf(stderr, "zorblats: %s\n", why.c_str());
        std::exit(1);
      }
      std::exit(0);
    case StartupOutcome::BadPaths:
    case StartupOutcome::NoVideo:
    case StartupOutcome::BadReplay:
      std::exit(1);
  }
  RunGame();
  Shutdown(CloseReplaySession());
}
