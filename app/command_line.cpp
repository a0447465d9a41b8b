#include "app/command_line.h"

#include <cerrno>
#include <cstring>

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
      line.action = CommandAction::Help;
    } else if (std::strcmp(a, "--version") == 0) {
      if (line.action != CommandAction::Help) line.action = CommandAction::Version;
    } else if (std::strcmp(a, "--window") == 0) {
      line.mode = StartMode::Window;
    } else if (std::strcmp(a, "--fullscreen") == 0) {
      line.mode = StartMode::FullScreen;
    } else {
      line.action = CommandAction::Wrong;
      line.wrong = a;
      return line;
    }
  }
  return line;
}

void PrintUsage(std::FILE* to) {
  std::fputs(
      "Usage: zorblats [--window | --fullscreen] [--help] [--version]\n"
      "Shoot the block of ZORBLATS before it lands.\n"
      "\n"
      "  --window      play in a window this time\n"
      "  --fullscreen  play on the full screen this time\n"
      "  --help        show this help and end\n"
      "  --version     show the version and end\n"
      "\n"
      "Alt+Enter or F11 switches between a window and the full screen while playing;\n"
      "that choice is remembered in $XDG_CONFIG_HOME/zorblats/zorblats.conf\n"
      "(~/.config/zorblats/zorblats.conf by default).\n",
      to);
}

int CloseStandardOutput() {
  const bool lost = std::ferror(stdout) != 0;  // a write failed before the last flush
  const bool closed = std::fclose(stdout) == 0;
  if (closed && !lost) return 0;
  // The reason of a write that failed earlier is gone; that of the last flush is known.
  const char* reason = closed ? nullptr : std::strerror(errno);
  std::fprintf(stderr, "zorblats: write error%s%s\n", reason ? ": " : "", reason ? reason : "");
  return 1;
}
