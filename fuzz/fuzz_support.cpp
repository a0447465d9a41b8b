#include "fuzz/fuzz_support.h"

#include <SDL/SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/small_file.h"
#include "resources/draw.h"
#include "resources/images.h"

namespace {

std::string folder;

// Every message box is answered at once: OK, or No to a question.
struct SilentBoxes final : MessageBoxHandler {
  int Show(const char*, const char*, int style) override { return style == MB_YESNO ? IDNO : IDOK; }
} silentBoxes;

}  // namespace

void FuzzSetUp() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);  // SIGTERM and SIGINT stay libFuzzer's: they end a run
  if (SDL_Init(SDL_INIT_VIDEO) < 0) FuzzFail("SDL_Init");
  SDL_Surface* video = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, SDL_SWSURFACE);
  if (!video) FuzzFail("SDL_SetVideoMode");
  // The game draws on a 240 x 320 surface of its own, as on the desktop; presenting it to the
  // video surface is left out.
  ScreenSurface = SDL_ConvertSurface(video, video->format, SDL_SWSURFACE);

  // A folder of this process's own in $TMPDIR, named by its id. One left by a process that has
  // gone (a crash, a broken check or a timeout skips the exit handlers), or by an earlier one of
  // this id, goes.
  const std::string base = std::filesystem::temp_directory_path().string() + "/zorblats-fuzz-";
  std::system(
      ("for d in '" + base + "'*; do kill -0 \"${d##*-}\" 2>/dev/null || rm -rf \"$d\"; done")
          .c_str());
  folder = base + std::to_string(getpid()) + "/";
  std::atexit([] { std::system(("rm -rf '" + folder + "'").c_str()); });
  const std::string copy = "rm -rf '" + folder + "'; mkdir -p '" + folder +
                           "zorblats' && cp -r '" ZORBLATS_GAME_DIR "/data' '" + folder + "'";
  if (std::system(copy.c_str()) != 0) FuzzFail("cannot copy the game's data");
  std::snprintf(ExeDir, sizeof ExeDir, "%s", folder.c_str());
  std::snprintf(DataDir, sizeof DataDir, "%sdata\\", folder.c_str());
  // The display config goes to the folder's "zorblats" folder: the player's own stays untouched.
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  UseMessageBoxHandler(&silentBoxes);
  UsePersistStep([](const std::string&) { return true; });  // the files need not outlast the run
  LoadImages();
}

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  return 0;
}

const std::string& FuzzFolder() { return folder; }

void FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(reinterpret_cast<const char*>(data), size).flush()) FuzzFail("cannot write");
}

void FuzzFail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);  // stderr holds nothing back
  std::abort();
}
