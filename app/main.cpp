// The host entry point: the command line, then everything happens in WinMain.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/replay_session.h"
#include "app/startup.h"

namespace {

// The game works in its own folder: a file named on the command line is taken from where
// the player stands.
std::string FromHere(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char here[4096];
  return getcwd(here, sizeof here) ? std::string(here) + "/" + path : path;
}

}  // namespace

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
  const bool watch = !line.replay.empty() || line.bestPlace >= 0;
  ChooseReplaySession({.record = !watch,
                       .recordTo = FromHere(line.record),
                       .replay = FromHere(line.replay),
                       .bestPlace = line.bestPlace});
  return WinMain();
}
