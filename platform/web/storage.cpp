// Saves that outlive the page. The settings folder lives in the browser's IndexedDB (see
// PreparePage); the settings code makes each save safe with fsync, and in the browser that
// is where the save waits until the browser has stored the folder. A storage that refuses
// makes the fsync fail, so the game reports the save as it reports a full disk.
#include <emscripten.h>
#include <unistd.h>

#include <cerrno>

namespace {

// clang-format off
// Emscripten's own sync of the folder never answers when the browser aborts its write (the
// storage quota reached, a transaction aborted) and takes a failed request for success,
// so the folder is written here in one transaction, and its end is the answer.
EM_ASYNC_JS(int, StoreSaves, (), {
  const store = mount => new Promise((stored, refused) => {
    IDBFS.getLocalSet(mount, (error, local) => {
      if (error) return refused(error);
      IDBFS.getRemoteSet(mount, (error, remote) => {
        if (error) return refused(error);
        let transaction;
        try {
          transaction = remote.db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
          transaction.oncomplete = stored;
          transaction.onabort = () => refused(transaction.error);
          const files = transaction.objectStore(IDBFS.DB_STORE_NAME);
          for (const path of Object.keys(local.entries)) {
            const kept = remote.entries[path];
            if (kept && kept.timestamp.getTime() === local.entries[path].timestamp.getTime()) continue;
            IDBFS.loadLocalEntry(path, (error, entry) => {
              if (error) throw error;
              files.put(entry, path);
            });
          }
          for (const path of Object.keys(remote.entries)) {
            if (!local.entries[path]) files.delete(path);
          }
        } catch (error) {
          refused(error);
          if (transaction) try { transaction.abort(); } catch {}
        }
      });
    });
  });
  const mounts = FS.getMounts(FS.root.mount).filter(mount => mount.type === IDBFS);
  return Promise.all(mounts.map(store)).then(() => 1, error => {
    Module.page.storageRefused(error);
    return 0;
  });
});
// clang-format on

}  // namespace

extern "C" int fsync(int) {
  if (StoreSaves()) return 0;
  errno = EIO;
  return -1;
}
