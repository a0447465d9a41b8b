// The host entry point: the command line, then everything happens in WinMain.
#include <cstdio>

#include "app/command_line.h"
#include "app/startup.h"

int main(int argc, char** argv) {
  const CommandLine line = ParseCommandLine(argc, argv);
  switch (line.action) {
    case CommandAction::Help:
      PrintUsage(stdout);
      return CloseStandardOutput();
    case CommandAction::Version:
      std::printf("zorblats %s\n", kGameVersion);
      return CloseStandardOutput();
    case CommandAction::Wrong:
      std::fprintf(stderr, "zorblats: unknown option '%s'\n", line.wrong);
      PrintUsage(stderr);
      return 2;
    case CommandAction::Play:
      break;
  }
  ChooseStartMode(line.mode);
  return WinMain();
}
