#include "platform/web/page.h"

#include <SDL/SDL.h>
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/config_file.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/small_file.h"
#include "platform/viewer_status.h"

// SDL's entry points for its video drivers, through which the page's input reaches SDL as a
// driver's would: unlike SDL_PushEvent they also keep SDL's key table, mouse state and focus.
extern "C" {
int SDL_PrivateKeyboard(Uint8 state, SDL_keysym* key);
int SDL_PrivateMouseMotion(Uint8 buttonstate, int relative, Sint16 x, Sint16 y);
int SDL_PrivateMouseButton(Uint8 state, Uint8 button, Sint16 x, Sint16 y);
int SDL_PrivateAppActive(Uint8 gain, Uint8 state);
}

namespace {

// Where the game lives in the browser's file system: its data is preloaded into
// /zorblats/data, beside the executable's path that ReadModulePath gives, so the desktop's
// path code finds its folders unchanged.
constexpr char kDataFolder[] = "/zorblats/data";
constexpr char kExecutable[] = "/zorblats/zorblats";
// The user's data and config folder, whose zorblats/ the page keeps in IndexedDB: the
// settings file and the display choice.
constexpr char kSavesHome[] = "/saves";

// A wait sleeps at most this long; the page wakes it at once when input arrives.
constexpr int kLongestSleepMs = 1000;
// A screen that polls without pausing (a key of the on-screen keyboard held down) would keep
// the page from ever delivering the input it waits for: an empty poll hands the page a turn
// when the game has not slept for this long.
constexpr double kLongestBusyMs = 10;
double lastSleep = 0;  // emscripten_get_now() when the game last gave the page a turn

// The page's full screen turned on (1) or off (0) and not stored yet; -1: nothing to store.
// The page cannot store it itself while the game sleeps: the game does on its next turn.
int fullScreenChosen = -1;

void StoreDisplayChoice() {
  if (fullScreenChosen < 0) return;
  const bool full = fullScreenChosen == 1;
  fullScreenChosen = -1;
  SaveDisplayConfig(DisplayConfig{full});  // a storage that refuses: the page goes on as it is
}

void Sleep(uint32_t ms) {
  StoreDisplayChoice();
  emscripten_sleep(ms);
  lastSleep = emscripten_get_now();
}

// Mounts the browser's storage on the settings folder and reads what it holds. A storage
// that refuses (private windows, no IndexedDB) leaves the folder empty: the game starts
// with its defaults and its first save reports the failure.
// clang-format off
EM_ASYNC_JS(void, MountSaves, (const char* home), {
  const folder = UTF8ToString(home) + '/zorblats';
  FS.mkdirTree(folder);
  FS.mount(IDBFS, {}, folder);
  await new Promise(done => FS.syncfs(true, error => {
    if (error) Module.page.storageRefused(error);
    done();
  }));
});
// clang-format on

// Sleeps until the page hands over input or the time is up.
// clang-format off
EM_ASYNC_JS(void, SleepUntilPageInput, (int ms), {
  await new Promise(wake => {
    const timer = setTimeout(wake, ms);
    Module.page.wakeGame = () => { clearTimeout(timer); wake(); };
  });
  Module.page.wakeGame = null;
});
// clang-format on

// Tells the page that the player left it in full screen.
// clang-format off
EM_JS(void, KeepFullScreen, (), { Module.page.fullScreenKept = true; });
// clang-format on

// Stores the settings folder in IndexedDB; 1 when the browser stored it. Emscripten's own sync
// of the folder never answers when the browser aborts its write (the storage quota reached, a
// transaction aborted) and takes a failed request for success, so the folder is written here
// in one transaction, and its end is the answer.
// clang-format off
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

void SleepUntilInput() {
  StoreDisplayChoice();
  SleepUntilPageInput(kLongestSleepMs);
  lastSleep = emscripten_get_now();
}

class PageHost final : public HostInput {
 public:
  void Delay(uint32_t ms) override { Sleep(ms); }
  uint32_t Ticks() override { return SDL_GetTicks(); }
  int PollEvent(SDL_Event* event) override {
    if (SDL_PollEvent(event)) return 1;
    if (emscripten_get_now() - lastSleep > kLongestBusyMs) Sleep(0);
    return 0;
  }
  int WaitEvent(SDL_Event* event) override {
    while (!SDL_PollEvent(event)) SleepUntilInput();
    return 1;
  }
  const uint8_t* KeyState() override { return SDL_GetKeyState(nullptr); }
};

PageHost pageHost;

}  // namespace

// The calls into the page that page.h declares for the back end's other units.
// clang-format off
EM_JS(void, DrawOnPage, (const void* pixels, int pitch, int x, int y, int w, int h), {
  Module.page.draw(HEAPU16, pixels >> 1, pitch >> 1, x, y, w, h);
});
EM_JS(int, PageHoldsGameLock, (), { return Module.page.holdsLock ? 1 : 0; });
EM_JS(int, OpenPageAudio, (), { return Module.page.openAudio() ? 1 : 0; });
EM_JS(void, ClosePageAudio, (), { Module.page.closeAudio(); });
EM_JS(void, LoadPageSound, (const char* path), {
  const name = UTF8ToString(path);
  let bytes = null;
  try { bytes = FS.readFile(name); } catch (missing) {}
  Module.page.loadSound(name, bytes);
});
EM_JS(void, PlayPageSound, (const char* path), { Module.page.playSound(UTF8ToString(path)); });
EM_JS(void, ShowStatusOnPage, (const char* text), {
  const status = UTF8ToString(text);
  document.title = status;
  if (Module.page.showReplayStatus) Module.page.showReplayStatus(status);
});
// clang-format on

// The page's title, and its corner beside the picture once the page offers one.
void ShowReplayStatus(const char* text) { ShowStatusOnPage(text); }
void PrepareScreen() { setenv("SDL_VIDEODRIVER", "dummy", 1); }  // the canvas is drawn by the page

void PreparePage() {
  setenv("XDG_DATA_HOME", kSavesHome, 1);
  setenv("XDG_CONFIG_HOME", kSavesHome, 1);
  // The data folder takes no writes, as an installed game's: the settings file goes to the
  // user's data folder, which the page keeps.
  chmod(kDataFolder, 0555);
  MountSaves(kSavesHome);
  // Without a choice kept, the game stays in the page (the desktop's default is the full
  // screen).
  if (access(DisplayConfigPath().c_str(), F_OK) == 0 && LoadDisplayConfig().fullscreen)
    KeepFullScreen();
}

HostInput& PageInput() { return pageHost; }

bool ReadModulePath(char* out, size_t capacity) {
  if (sizeof kExecutable > capacity) return false;
  std::memcpy(out, kExecutable, sizeof kExecutable);
  return true;
}

// The saves are stored in IndexedDB only once the file is in place, the whole settings folder
// at once; a storage that refuses (some private windows) fails the save, which then says so.
bool FlushSavedBytes(int) { return true; }
bool PersistSavedFile(const std::string&) { return StoreSaves() != 0; }

extern "C" {

EMSCRIPTEN_KEEPALIVE void PageKey(int down, int sym, int unicode) {
  SDL_keysym key{};
  key.sym = static_cast<SDLKey>(sym);
  key.unicode = static_cast<Uint16>(unicode);
  SDL_PrivateKeyboard(down ? SDL_PRESSED : SDL_RELEASED, &key);
}

EMSCRIPTEN_KEEPALIVE void PagePointer(int kind, int x, int y) {
  const Sint16 gameX = static_cast<Sint16>(x);
  const Sint16 gameY = static_cast<Sint16>(y);
  const Uint8 held = SDL_GetMouseState(nullptr, nullptr);
  SDL_PrivateMouseMotion(held, 0, gameX, gameY);
  if (kind == 1) SDL_PrivateMouseButton(SDL_PRESSED, SDL_BUTTON_LEFT, gameX, gameY);
  if (kind == 2) SDL_PrivateMouseButton(SDL_RELEASED, SDL_BUTTON_LEFT, gameX, gameY);
}

EMSCRIPTEN_KEEPALIVE void PageFocus(int gained) {
  SDL_PrivateAppActive(static_cast<Uint8>(gained ? 1 : 0), SDL_APPINPUTFOCUS);
}

EMSCRIPTEN_KEEPALIVE void PageFullScreen(int on) { fullScreenChosen = on ? 1 : 0; }

// The desktop turns a pad's SDL events into keys (platform/gamepad.cpp); the page's pads
// arrive as the same events.
EMSCRIPTEN_KEEPALIVE void PagePad(int kind, int control, int value) {
  SDL_Event event{};
  if (kind == 2) {
    event.type = SDL_JOYAXISMOTION;
    event.jaxis = {SDL_JOYAXISMOTION, 0, static_cast<Uint8>(control), static_cast<Sint16>(value)};
  } else {
    event.type = kind == 1 ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton = {event.type, 0, static_cast<Uint8>(control),
                     static_cast<Uint8>(kind == 1 ? SDL_PRESSED : SDL_RELEASED)};
  }
  SDL_PushEvent(&event);
}

}  // extern "C"
