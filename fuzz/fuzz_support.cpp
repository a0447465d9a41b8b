#include "fuzz/fuzz_support.h"

#include <SDL/SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "resources/draw.h"
#include "resources/images.h"

namespace {

std::string folder;

// Every message box is answered at once: OK, or No to a question.
class SilentBoxes final : public MessageBoxHandler {
 public:
  int Show(const char*, const char*, int style) override { return style == MB_YESNO ? IDNO : IDOK; }
};
SilentBoxes silentBoxes;

void RemoveFolder() {
  if (!folder.empty()) std::system(("rm -rf '" + folder + "'").c_str());
}

}  // namespace

void FuzzSetUp() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);  // SIGTERM and SIGINT stay libFuzzer's: they end a run
  if (SDL_Init(SDL_INIT_VIDEO) < 0) FuzzFail("SDL_Init");
  ScreenSurface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, SDL_SWSURFACE);
  if (!ScreenSurface) FuzzFail("SDL_SetVideoMode");

  // In memory where possible: every settings save flushes the file and its folder to disk.
  char pattern[] = "/dev/shm/zorblats-fuzz-XXXXXX";
  char fallback[] = "/tmp/zorblats-fuzz-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (!made) made = mkdtemp(fallback);
  if (!made) FuzzFail("mkdtemp");
  folder = std::string(made) + "/";
  std::atexit(RemoveFolder);
  if (std::system(("mkdir -p '" + folder + "data'").c_str()) != 0) FuzzFail("mkdir data");
  std::snprintf(ExeDir, sizeof ExeDir, "%s", folder.c_str());
  std::snprintf(DataDir, sizeof DataDir, "%sdata\\", folder.c_str());
  UseMessageBoxHandler(&silentBoxes);
}

void FuzzLoadGameImages() {
  // LoadImages reads ExeDir + "\data\1.pak": point it at the built game for a moment.
  char saved[kExeDirCapacity];
  std::snprintf(saved, sizeof saved, "%s", ExeDir);
  std::snprintf(ExeDir, sizeof ExeDir, "%s/", ZORBLATS_GAME_DIR);
  LoadImages();
  std::snprintf(ExeDir, sizeof ExeDir, "%s", saved);
}

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  FuzzLoadGameImages();
  return 0;
}

void FuzzCopyGameData() {
  const std::string copy = "cp -r '" ZORBLATS_GAME_DIR "/data/.' '" + folder + "data/'";
  if (std::system(copy.c_str()) != 0) FuzzFail("cannot copy the game's data");
}

const std::string& FuzzFolder() { return folder; }

void FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) FuzzFail("cannot write a file in the fuzz folder");
  const bool ok = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !ok) FuzzFail("cannot write a file in the fuzz folder");
}

std::string FuzzReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FuzzFail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::fflush(stderr);
  RemoveFolder();  // abort skips the exit handlers
  std::abort();
}
