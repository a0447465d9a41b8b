// The command line: zorblats [--window | --fullscreen] [--help] [--version].
#pragma once
#include <cstdio>

#include "platform/desktop/window_mode.h"

// What the command line asks for.
enum class CommandAction { Play, Help, Version, Wrong };

struct CommandLine {
  CommandAction action = CommandAction::Play;
  StartMode mode = StartMode::Remembered;  // --window or --fullscreen: for this run only
  const char* wrong = nullptr;             // the first argument not understood
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

// The game's version, printed by --version.
constexpr char kGameVersion[] = "1.0";
