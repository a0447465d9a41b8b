#include "app/command_line.h"

#include <cerrno>
#include <cstring>

namespace {

// "1" to "5": the place of a kept best replay; 0 otherwise.
int PlaceNumber(const char* text) {
  return text && text[0] >= '1' && text[0] <= '5' && text[1] == 0 ? text[0] - '0' : 0;
}

}  // namespace

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
    } else if ((std::strcmp(a, "--record") == 0 || std::strcmp(a, "--replay") == 0) &&
               i + 1 < argc && argv[i + 1][0] != 0) {
      const char* file = argv[++i];
      if (std::strcmp(a, "--record") == 0) {
        line.record = file;
      } else if (std::strcmp(file, "best") == 0) {
        line.bestPlace = 0;
        if (const int n = PlaceNumber(i + 1 < argc ? argv[i + 1] : nullptr); n > 0) {
          line.bestPlace = n - 1;
          ++i;
        }
      } else {
        line.replay = file;
      }
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
      "Usage: zorblats [--window | --fullscreen] [--record FILE | --replay FILE]\n"
      "                [--help] [--version]\n"
      "Shoot the block of ZORBLATS before it lands.\n"
      "\n"
      "  --window         play in a window this time\n"
      "  --fullscreen     play on the full screen this time\n"
      "  --record FILE    play as usual and write the session to FILE at the end\n"
      "  --replay FILE    watch a recorded session, from the start screen to its end\n"
      "  --replay best [N]  watch the session of the best score (or of place N, 1 to 5)\n"
      "  --help           show this help and end\n"
      "  --version        show the version and end\n"
      "\n"
      "Alt+Enter or F11 switches between a window and the full screen while playing;\n"
      "that choice is remembered in $XDG_CONFIG_HOME/zorblats/zorblats.conf\n"
      "(~/.config/zorblats/zorblats.conf by default).\n"
      "\n"
      "Every run keeps its session in replays/last.zrp beside the settings file\n"
      "($XDG_DATA_HOME/zorblats/ for an installed game), and each score in the table keeps\n"
      "its session as replays/best-1.zrp to best-5.zrp, moved down with the table.\n"
      "While a replay plays: Space pauses, + or ] and - or [ change the speed (x 1/4 to\n"
      "x 8), Escape or closing the window ends it. A replay never changes the settings\n"
      "or the table. It ends with a sentence saying whether the game showed the same\n"
      "pictures as when it was recorded (status 0) or not (status 1).\n",
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
