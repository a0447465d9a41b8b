// The command line: zorblats [--window | --fullscreen] [--record FILE | --replay FILE |
// --replay best [N]] [--help] [--version].
#pragma once
#include <cstdio>
#include <string>

#include "platform/desktop/window_mode.h"

// What the command line asks for.
enum class CommandAction { Play, Help, Version, Wrong };

struct CommandLine {
  CommandAction action = CommandAction::Play;
  StartMode mode = StartMode::Remembered;  // --window or --fullscreen: for this run only
  const char* wrong = nullptr;             // the first argument not understood
  std::string record;                      // --record FILE: the session goes there too
  std::string replay;                      // --replay FILE: the replay to watch
  int bestPlace = -1;                      // --replay best [N]: place N - 1 (0 for best alone)
};

// Reads the arguments after the program's name. Called by main.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// Prints the usage and the options. Called by main for --help (standard output) and for a
// wrong argument (standard error).
void PrintUsage(std::FILE* to);

// Ends --help and --version as the GNU tools do: status 0 when standard output took the
// whole text, else "zorblats: write error: <reason>" on standard error and status 1.
// Called by main.
int CloseStandardOutput();
