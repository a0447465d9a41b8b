// Saves that outlive the page. The settings folder lives in the browser's IndexedDB (see
// PreparePage); the settings code makes each save safe with fsync, and in the browser that
// is where the save waits until the browser has stored the folder. A storage that refuses
// makes the fsync fail, so the game reports the save as it reports a full disk.
#include <emscripten.h>
#include <unistd.h>

#include <cerrno>

namespace {

// clang-format off
EM_ASYNC_JS(int, StoreSaves, (), {
  return await new Promise(done => FS.syncfs(false, error => done(error ? 0 : 1)));
});
// clang-format on

}  // namespace

extern "C" int fsync(int) {
  if (StoreSaves()) return 0;
  errno = EIO;
  return -1;
}
