// The host on a virtual clock that runs the real game without anyone at the keyboard: the
// in-process tests, the whole-game fuzzer and the gallery tool use it. Time moves only when
// the game pauses (and busyPollMs, a millisecond unless told, for every hundred polls that
// find nothing, as a busy poll loop takes time); input comes from a timed script, and from a
// player asked whenever the game looks for input and nothing is due.
#pragma once
#include <SDL/SDL.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>

#include "platform/host.h"

class VirtualHost : public HostInput {
 public:
  void Delay(uint32_t ms) override {
    if (onDelay) onDelay(ms);
    now += ms;
    idlePolls = 0;
    frames += ms == 50;
  }
  uint32_t Ticks() override { return now; }
  int PollEvent(SDL_Event* event) override { return Take(event, false); }
  int WaitEvent(SDL_Event* event) override { return Take(event, true); }
  const uint8_t* KeyState() override {
    QueueDue();
    return keys;
  }

  // The script: each call stamps its events at the cursor, which Wait moves on. An event
  // reaches SDL's queue when its time comes: a key changes the key table then, taken or not.
  VirtualHost& Wait(uint32_t ms) {
    cursor += ms;
    return *this;
  }
  VirtualHost& Push(const SDL_Event& event) {
    script.push_back({cursor, event});
    letGo = false;
    return *this;
  }
  VirtualHost& Press(int x, int y, uint8_t button = SDL_BUTTON_LEFT) {  // down only
    return Push(
        {.button = {SDL_MOUSEBUTTONDOWN, 0, button, SDL_PRESSED, uint16_t(x), uint16_t(y)}});
  }
  VirtualHost& Release(int x, int y, uint8_t button = SDL_BUTTON_LEFT) {
    return Push({.button = {SDL_MOUSEBUTTONUP, 0, button, SDL_RELEASED, uint16_t(x), uint16_t(y)}});
  }
  VirtualHost& Tap(int x, int y, uint8_t button = SDL_BUTTON_LEFT) {  // down and up
    return Press(x, y, button).Release(x, y, button);
  }
  VirtualHost& Motion(int x, int y) {
    return Push({.motion = {SDL_MOUSEMOTION, 0, 0, uint16_t(x), uint16_t(y), 0, 0}});
  }
  VirtualHost& KeyDown(SDLKey key, uint16_t unicode = 0) {
    return Push({.key = {SDL_KEYDOWN, 0, SDL_PRESSED, {0, key, KMOD_NONE, unicode}}});
  }
  VirtualHost& KeyUp(SDLKey key) {
    return Push({.key = {SDL_KEYUP, 0, SDL_RELEASED, {0, key, KMOD_NONE, 0}}});
  }
  VirtualHost& Quit() { return Push({.type = SDL_QUIT}); }
  // An event for now, before the scripted ones still to come: a player's answer.
  void Send(uint8_t type, SDLKey key = SDLK_UNKNOWN, int x = 0, int y = 0);
  // Drops the events not taken yet: the script ends now.
  void DropScript() {
    script.clear();
    cursor = std::min(cursor, now);
  }
  size_t Pending() const { return script.size(); }

  // The end: once nothing is left (and a player has nothing more), a wait gets SDL_QUIT at
  // once; a poll, when the clock has passed the script's end (the cursor) by pollGraceMs, lets
  // go of every key and button still held and then gets SDL_QUIT at every other poll, so
  // loops that drain the queue finish too. Each quit takes a millisecond.
  uint32_t pollGraceMs = 600000;
  // The time a hundred polls that find nothing take (a busy poll loop, the stylus held).
  uint32_t busyPollMs = 1;

  std::function<void(uint32_t ms)> onDelay;  // the game pauses (before the clock moves on)
  std::function<void()> onPoll, onWait;      // the game asks for input (before the answer)
  // The player: asked when the game asks for input and nothing is due; it may push events for
  // now. False once it has nothing more to give.
  std::function<bool()> onIdle;

  uint32_t now = 0;     // the virtual clock
  uint32_t cursor = 0;  // where the next scripted event is stamped: the script's end
  uint8_t keys[SDLK_LAST] = {};
  SDL_Event next{};  // the last event sent
  int frames = 0;    // pauses of 50 ms: play frames (and steps of the ship's explosion)

 private:
  struct Stamped {
    uint32_t at;
    SDL_Event event;
    bool queued = false;  // its key change is in the key table
  };
  int Take(SDL_Event* event, bool wait);
  bool Due() const { return !script.empty() && script.front().at <= now; }
  // Events whose time has come are in SDL's queue: their keys change the key table then.
  void QueueDue();

  std::deque<Stamped> script;
  uint32_t buttons = 0;  // the mouse buttons held, one bit each
  int idlePolls = 0;     // empty polls since the last pause
  bool letGo = false, quitGiven = false;
};
