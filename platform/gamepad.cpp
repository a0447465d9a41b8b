#include "platform/gamepad.h"

#include <sys/stat.h>

#include <cstdlib>
#include <deque>

namespace {

// SDL's game-controller numbering, which sdl12-compat passes on for mapped pads.
constexpr uint8_t kSouth = 0;
constexpr uint8_t kEast = 1;
constexpr uint8_t kWest = 2;
constexpr uint8_t kStart = 6;
constexpr uint8_t kDpadUp = 11;
constexpr uint8_t kDpadDown = 12;
constexpr uint8_t kDpadLeft = 13;
constexpr uint8_t kDpadRight = 14;
constexpr uint8_t kStickX = 0;
constexpr uint8_t kStickY = 1;

// A stick counts as pushed past this, and as let go again below the second (no chatter).
constexpr int kStickPushed = 16000;
constexpr int kStickReleased = 8000;

// The pad watch looks for plugged and pulled pads this often. Starting the joystick system
// afresh at every look kept an idle game at 1 % of a core, so it is done only when the
// folder of input devices has changed: at that look and the next, by when the new device's
// permissions are set.
constexpr uint32_t kWatchMs = 3000;
constexpr const char* kInputDevices = "/dev/input";
constexpr int kLooksAfterChange = 2;
constexpr int kWatchTick = 0x5A0D;  // the user event's code

// Each key may be held by several pad controls at once: one bit per control.
enum Source : uint8_t { kFromHat = 1, kFromStick = 2, kFromButton = 4 };

uint8_t held[SDLK_LAST];    // the sources holding each key
uint8_t merged[SDLK_LAST];  // the last key table handed out
std::deque<SDL_Event> pending;
SDL_Joystick* pads[8];
int padCount = 0;

SDL_Event KeyEvent(SDLKey key, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.type = e.type;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  return e;
}

// Sets or clears one source of a key; an edge of the key becomes a pending event.
void Hold(SDLKey key, Source source, bool on) {
  const uint8_t before = held[key];
  held[key] = static_cast<uint8_t>(on ? before | source : before & ~source);
  if ((before != 0) != (held[key] != 0)) pending.push_back(KeyEvent(key, held[key] != 0));
}

SDLKey ButtonKey(uint8_t button) {
  switch (button) {
    case kSouth: return SDLK_SPACE;      // fire in play, press in menus and on the keyboard
    case kWest: return SDLK_LCTRL;       // fire
    case kEast: return SDLK_BACKSPACE;   // back in menus, delete in the name entry
    case kStart: return SDLK_ESCAPE;     // the Menu button in play
    case kDpadUp: return SDLK_UP;
    case kDpadDown: return SDLK_DOWN;
    case kDpadLeft: return SDLK_LEFT;
    case kDpadRight: return SDLK_RIGHT;
    default: return SDLK_UNKNOWN;
  }
}

// One axis of the stick: pushed towards `low` or `high`, or neither.
void Stick(int value, SDLKey low, SDLKey high) {
  const int limit = (held[low] | held[high]) & kFromStick ? kStickReleased : kStickPushed;
  Hold(low, kFromStick, value < -limit);
  Hold(high, kFromStick, value > limit);
}

void ClosePads() {
  for (int i = 0; i < padCount; ++i) SDL_JoystickClose(pads[i]);
  padCount = 0;
}

// Opens the pads SDL knows now. The joystick system is started afresh so that pads plugged
// in or pulled out since the last look are seen; keys held by a pulled pad are let go.
void WatchPads() {
  const int before = padCount;
  ClosePads();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) return;
  SDL_JoystickEventState(SDL_ENABLE);
  for (int i = 0; i < SDL_NumJoysticks() && padCount < 8; ++i) {
    if (SDL_Joystick* pad = SDL_JoystickOpen(i)) pads[padCount++] = pad;
  }
  if (padCount < before) {
    for (int key = 0; key < SDLK_LAST; ++key) {
      if (held[key]) Hold(static_cast<SDLKey>(key), static_cast<Source>(held[key]), false);
    }
  }
}

timespec devicesSeen{};  // the input folder's modification time at the last look
int looksLeft = 0;        // looks that still start the joystick system afresh

// True when a device node has come or gone in the input folder since the last call.
bool InputDevicesChanged() {
  struct stat folder {};
  if (stat(kInputDevices, &folder) != 0) return false;
  const timespec now = folder.st_mtim;
  const bool changed = now.tv_sec != devicesSeen.tv_sec || now.tv_nsec != devicesSeen.tv_nsec;
  devicesSeen = now;
  return changed;
}

// The watch's tick: pads are looked for again after the input devices change.
void LookForPads() {
  if (InputDevicesChanged()) looksLeft = kLooksAfterChange;
  if (looksLeft == 0) return;
  --looksLeft;
  WatchPads();
}

Uint32 PushWatchTick(Uint32 interval, void*) {
  SDL_Event tick{};
  tick.type = SDL_USEREVENT;
  tick.user.code = kWatchTick;
  SDL_PushEvent(&tick);
  return interval;
}

}  // namespace

void PrepareGamepads() { setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", "1", 0); }

void OpenGamepads() {
  InputDevicesChanged();
  WatchPads();
  if (SDL_InitSubSystem(SDL_INIT_TIMER) == 0) SDL_AddTimer(kWatchMs, PushWatchTick, nullptr);
}

bool TranslatePadEvent(SDL_Event& event) {
  switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
      const SDLKey key = ButtonKey(event.jbutton.button);
      if (key != SDLK_UNKNOWN) Hold(key, kFromButton, event.type == SDL_JOYBUTTONDOWN);
      break;
    }
    case SDL_JOYHATMOTION:
      Hold(SDLK_UP, kFromHat, event.jhat.value & SDL_HAT_UP);
      Hold(SDLK_DOWN, kFromHat, event.jhat.value & SDL_HAT_DOWN);
      Hold(SDLK_LEFT, kFromHat, event.jhat.value & SDL_HAT_LEFT);
      Hold(SDLK_RIGHT, kFromHat, event.jhat.value & SDL_HAT_RIGHT);
      break;
    case SDL_JOYAXISMOTION:
      if (event.jaxis.axis == kStickX) Stick(event.jaxis.value, SDLK_LEFT, SDLK_RIGHT);
      if (event.jaxis.axis == kStickY) Stick(event.jaxis.value, SDLK_UP, SDLK_DOWN);
      break;
    case SDL_USEREVENT:
      if (event.user.code != kWatchTick) return true;
      LookForPads();
      break;
    default:
      return true;
  }
  return TakePendingPadEvent(event);
}

bool TakePendingPadEvent(SDL_Event& event) {
  if (pending.empty()) return false;
  event = pending.front();
  pending.pop_front();
  return true;
}

const uint8_t* MergePadKeys(const uint8_t* keys) {
  for (int key = 0; key < SDLK_LAST; ++key) merged[key] = keys[key] || held[key] ? 1 : 0;
  return merged;
}
