#include "tests/support/virtual_host.h"

#include <algorithm>

void VirtualHost::Delay(uint32_t ms) {
  if (onDelay) onDelay(ms);
  now += ms;
  idlePolls = 0;
  frames += ms == 50;
}

const uint8_t* VirtualHost::KeyState() {
  QueueDue();
  return keys;
}

void VirtualHost::QueueDue() {
  for (Stamped& s : script) {
    if (s.at > now) break;
    if (s.queued) continue;
    s.queued = true;
    if (s.event.type == SDL_KEYDOWN) keys[s.event.key.keysym.sym] = 1;
    if (s.event.type == SDL_KEYUP) keys[s.event.key.keysym.sym] = 0;
  }
}

int VirtualHost::Take(SDL_Event* event, bool wait) {
  const std::function<void()>& hook = wait ? onWait : onPoll;
  if (hook) hook();
  QueueDue();
  const bool more = !Due() && onIdle && onIdle();
  if (wait && !Due() && !script.empty()) now = script.front().at;  // a wait lets time run
  const bool ended = script.empty() && !more && (wait || now >= cursor + pollGraceMs);
  if (ended && !wait && !letGo) LetGo();
  QueueDue();
  if (Due()) {
    *event = script.front().event;
    script.pop_front();
    if (event->type == SDL_MOUSEBUTTONDOWN) buttons |= 1u << event->button.button;
    if (event->type == SDL_MOUSEBUTTONUP) buttons &= ~(1u << event->button.button);
    idlePolls = 0;
    return 1;
  }
  if (ended) {
    ++now;
    quitGiven = wait || !quitGiven;
    if (quitGiven) {
      *event = SDL_Event{};
      event->type = SDL_QUIT;
      return 1;
    }
  }
  if (++idlePolls >= 100) {  // polling without a pause: a millisecond goes by
    ++now;
    idlePolls = 0;
  }
  return 0;
}

void VirtualHost::LetGo() {
  const uint32_t end = cursor;
  cursor = now;
  for (uint8_t b = 1; b < 8; ++b)
    if (buttons & (1u << b)) Release(0, 0, b);
  for (int k = 0; k < SDLK_LAST; ++k)
    if (keys[k]) KeyUp(SDLKey(k));
  cursor = end;
  letGo = true;  // once: the releases are no new script
}

void VirtualHost::Send(uint8_t type, SDLKey key, int x, int y) {
  next = SDL_Event{};
  next.type = type;
  next.key.keysym.sym = key;
  if (type == SDL_MOUSEBUTTONDOWN) {
    next.button.x = uint16_t(x);
    next.button.y = uint16_t(y);
  }
  const auto later = [this](const Stamped& s) { return s.at > now; };
  script.insert(std::find_if(script.begin(), script.end(), later), {now, next});
  letGo = false;
}

void VirtualHost::DropScript() {
  script.clear();
  cursor = std::min(cursor, now);
}

VirtualHost& VirtualHost::Wait(uint32_t ms) {
  cursor += ms;
  return *this;
}

VirtualHost& VirtualHost::Push(const SDL_Event& event) {
  script.push_back({cursor, event});
  letGo = false;
  return *this;
}

// The scripted events, stamped at the cursor.
VirtualHost& VirtualHost::Press(int x, int y, uint8_t button) {
  return Push({.button = {SDL_MOUSEBUTTONDOWN, 0, button, SDL_PRESSED, uint16_t(x), uint16_t(y)}});
}

VirtualHost& VirtualHost::Release(int x, int y, uint8_t button) {
  return Push({.button = {SDL_MOUSEBUTTONUP, 0, button, SDL_RELEASED, uint16_t(x), uint16_t(y)}});
}

VirtualHost& VirtualHost::Tap(int x, int y, uint8_t button) {
  return Press(x, y, button).Release(x, y, button);
}

VirtualHost& VirtualHost::Motion(int x, int y) {
  return Push({.motion = {SDL_MOUSEMOTION, 0, 0, uint16_t(x), uint16_t(y), 0, 0}});
}

VirtualHost& VirtualHost::KeyDown(SDLKey key, uint16_t unicode) {
  return Push({.key = {SDL_KEYDOWN, 0, SDL_PRESSED, {0, key, KMOD_NONE, unicode}}});
}

VirtualHost& VirtualHost::KeyUp(SDLKey key) {
  return Push({.key = {SDL_KEYUP, 0, SDL_RELEASED, {0, key, KMOD_NONE, 0}}});
}

VirtualHost& VirtualHost::Quit() { return Push({.type = SDL_QUIT}); }
