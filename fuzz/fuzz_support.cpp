#include "fuzz/fuzz_support.h"

#include <SDL/SDL.h>
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/small_file.h"
#include "resources/draw.h"
#include "resources/images.h"

namespace {

constexpr char kFolderName[] = "zorblats-fuzz-";  // and the process id
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

  // A folder of this process's own in $TMPDIR, named by its id. One left by a process that has
  // gone (a crash or a timeout skips the exit handlers), or by an earlier one of this id, goes.
  const char* tmp = std::getenv("TMPDIR");
  const std::string base = std::string(tmp && *tmp ? tmp : "/tmp") + "/";
  if (DIR* all = opendir(base.c_str())) {
    while (const dirent* entry = readdir(all)) {
      const std::string name = entry->d_name;
      const pid_t pid =
          name.starts_with(kFolderName) ? std::atoi(&name[sizeof kFolderName - 1]) : 0;
      if (pid > 0 && (pid == getpid() || (kill(pid, 0) != 0 && errno == ESRCH)))
        std::system(("rm -rf '" + base + name + "'").c_str());
    }
    closedir(all);
  }
  folder = base + kFolderName + std::to_string(getpid()) + "/";
  std::atexit(RemoveFolder);
  if (std::system(("mkdir -p '" + folder + "data'").c_str()) != 0) FuzzFail("mkdir data");
  std::snprintf(ExeDir, sizeof ExeDir, "%s", folder.c_str());
  std::snprintf(DataDir, sizeof DataDir, "%sdata\\", folder.c_str());
  UseMessageBoxHandler(&silentBoxes);
  UsePersistStep([](const std::string&) { return true; });  // the files need not outlast the run
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
