#include "tests/support/virtual_host.h"

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
  if (ended && !wait && !letGo) {  // lets go of what is held, once: the releases are no new script
    const uint32_t end = cursor;
    cursor = now;
    for (uint8_t b = 1; b < 8; ++b)
      if (buttons & (1u << b)) Release(0, 0, b);
    for (int k = 0; k < SDLK_LAST; ++k)
      if (keys[k]) KeyUp(SDLKey(k));
    cursor = end;
    letGo = true;
  }
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
  if (++idlePolls >= 100) {  // polling without a pause: time goes by
    now += busyPollMs;
    idlePolls = 0;
  }
  return 0;
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
