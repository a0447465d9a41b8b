// The pack builder: turns a list of source pictures into an image pack.
//   packbuilder <source-folder/> <output-path-without-.pak> name...
// The sources are read from the folder in the order given (their order is their number in
// the pack); the result is <output-path>.pak, and no uncompressed file is left behind.
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"
#include "resources/pack_build.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <source-folder/> <output-path-without-.pak> name...\n",
                 argc > 0 ? argv[0] : "packbuilder");
    return 1;
  }

  // The sources are found as DataDir + name, so the folder must end in a separator.
  const char* folder = argv[1];
  const size_t length = std::strlen(folder);
  const bool separated = length > 0 && (folder[length - 1] == '/' || folder[length - 1] == '\\');
  const int written =
      std::snprintf(DataDir, sizeof DataDir, "%s%s", folder, separated || length == 0 ? "" : "/");
  if (written < 0 || static_cast<size_t>(written) >= sizeof DataDir) {
    std::fprintf(stderr, "%s: the source folder path is too long\n", argv[0]);
    return 1;
  }

  // Loading pictures needs no window: the dummy video driver will do.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    std::fprintf(stderr, "%s: SDL cannot start: %s\n", argv[0], SDL_GetError());
    return 1;
  }

  const NameList names{argc - 3, argv + 3};
  const int status = PackFile(PackMode::Write).Build(argv[2], names);
  SDL_Quit();
  return status;
}
