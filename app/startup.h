// Start-up and shutdown: the checks, the data paths, SDL and the video mode.
#pragma once
#include <string>

// Where start-up ended when it did not reach the main driver.
enum class StartupOutcome {
  Run,              // everything is set up; RunGame may start
  NotEnoughMemory,  // the message was shown; exit status 0
  AlreadyRunning,   // another copy holds the instance lock; silent exit status 0
  BadPaths,         // the game's folder path cannot be used (said why); exit status 1
  NoVideo           // the video mode could not be set; exit status 1
};

// Fills ExeDir and DataDir from the running executable's path, chooses the settings folder
// (saying on standard error when no folder can keep the file) and makes the executable's
// folder the working directory. Empty, or why the game cannot run from its folder (a path
// unknown, too long or holding a backslash). Called by StartUp.
std::string InitDataPaths();

// Start-up in the handheld's order: the free memory, the single instance, the data paths,
// SDL, the 240 x 320 16-bit screen and the caption, SDL_Quit at exit, unicode keys, then
// the pads and the sound. Called by WinMain; the in-process tests call it to set up the real
// screen.
StartupOutcome StartUp();

// Closes sound and SDL and ends the process with status 0. Called by WinMain.
[[noreturn]] void Shutdown();

// The whole program: StartUp, RunGame, Shutdown. Called by main.
int WinMain();
