#include "frontend/screen_events.h"

#include "platform/host.h"

namespace {

// As many events as SDL's own queue holds.
constexpr int kKeptCapacity = 128;

// The events a screen start took from the host and kept for the screen, served before any
// new one, and whether a key has gone down since the screen started.
struct ScreenInput {
  SDL_Event kept[kKeptCapacity];
  int next = 0;
  int count = 0;
  bool keyPressed = false;
};

ScreenInput input;

bool IsKey(const SDL_Event& event) {
  return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
}

// A character without a key: how sdl12-compat hands on the desktop's repeat of a held key
// (the repeated key-down itself is dropped, its character comes alone). The desktop repeats
// the key pressed last, so the character counts only once a key has gone down on this
// screen; before that it repeats a key held from before.
bool IsRepeatedCharacter(const SDL_Event& event) {
  return event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_UNKNOWN &&
         event.key.keysym.unicode != 0;
}

// Whether the screen gets an event; notes the keys that go down.
bool ForScreen(const SDL_Event& event) {
  if (IsRepeatedCharacter(event)) return input.keyPressed;
  if (event.type == SDL_KEYDOWN) input.keyPressed = true;
  return true;
}

bool TakeKept(SDL_Event& event) {
  if (input.next == input.count) return false;
  event = input.kept[input.next++];
  return true;
}

}  // namespace

void DropWaitingEvents() {
  input.next = input.count = 0;
  input.keyPressed = false;
  SDL_Event event;
  while (HostPollEvent(&event)) {
  }
}

void StartScreenInput() {
  // The events kept before and not yet taken stay first; the kept list only shrinks in place.
  int count = 0;
  while (input.next < input.count) {
    const SDL_Event& event = input.kept[input.next++];
    if (!IsKey(event)) input.kept[count++] = event;
  }
  SDL_Event event;
  while (HostPollEvent(&event)) {
    if (!IsKey(event) && count < kKeptCapacity) input.kept[count++] = event;
    if (event.type == SDL_QUIT) break;  // a request to end may repeat without end
  }
  input.next = 0;
  input.count = count;
  input.keyPressed = false;
}

void WaitForScreenEvent(SDL_Event& event) {
  do {
    if (!TakeKept(event) && !HostWaitEvent(&event)) {
      event.type = SDL_QUIT;
      return;
    }
  } while (!ForScreen(event));
}

bool PollScreenEvent(SDL_Event& event) {
  do {
    if (!TakeKept(event) && !HostPollEvent(&event)) return false;
  } while (!ForScreen(event));
  return true;
}
