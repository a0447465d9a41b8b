// The players of the golden replays (tests/integration/replay_test.cpp), whom the whole-game
// fuzzer lets play too: asked whenever the game looks for input and nothing is due, they send
// events for now.
#pragma once
#include <cstdlib>

#include "game/formation.h"
#include "game/launcher.h"
#include "game/play_state.h"
#include "game/ship.h"
#include "tests/support/virtual_host.h"

// Goes for a falling gift (or, where gifts abound, for the launcher), else for the live enemy
// whose path its shot would meet nearest to its gun. It stands there with fire held, moves
// towards it without firing, and dodges an enemy shot about to hit it.
inline void Hunt(VirtualHost& h) {
  const Formation& f = EnemyFormation;
  const int gun = PlayerShip.x + 14, v = (f.movingRight ? 1 : -1) * (1 + f.spedUp);
  int target = gun, best = 1 << 20;
  for (const Enemy& e : Enemies) {
    const int x = e.x + 11 + v * ((224 - e.y) / 9 + 2);
    if (e.alive && std::abs(x - gun) < best) {
      best = std::abs(x - gun);
      target = x;
    }
  }
  if (Launcher.movingRight && Play.launchChance > 10) target = Launcher.x + 49;
  if (Launcher.falling) target = Launcher.x + 6;
  const SDLKey held = h.keys[SDLK_LEFT] ? SDLK_LEFT : h.keys[SDLK_RIGHT] ? SDLK_RIGHT : SDLK_UP;
  const int slack = held == SDLK_UP ? 9 : 3;  // a standing ship waits longer before it moves
  SDLKey want = target > gun + slack ? SDLK_RIGHT : target < gun - slack ? SDLK_LEFT : SDLK_UP;
  for (const Enemy& e : Enemies)
    if (e.shot.inFlight && e.shot.y > 170 && std::abs(e.shot.x - gun) < 20)
      want = e.shot.x < gun ? SDLK_RIGHT : SDLK_LEFT;
  if (want == held && h.next.type == SDL_KEYDOWN) return;
  if (held != SDLK_UP && want != held) return h.Send(SDL_KEYUP, held);
  h.keys[SDLK_UP] = 0;
  h.Send(SDL_KEYDOWN, want);
}

// Keys and taps by a script, frame by frame: both directions held, a key-up of one while the
// other is held, left control and up to fire, a tap beside the menu button, one on it, the
// edges, and P and Escape, which pause play as the menu button does.
inline void PlayKeysAndTaps(VirtualHost& h) {
  static const struct {
    int frame, type;
    SDLKey key;
    int x = 0, y = 0;
  } script[] = {{5, SDL_KEYDOWN, SDLK_LEFT},
                {6, SDL_KEYDOWN, SDLK_RIGHT},
                {20, SDL_KEYUP, SDLK_RIGHT},
                {30, SDL_KEYDOWN, SDLK_a},
                {80, SDL_KEYUP, SDLK_LEFT},
                {85, SDL_KEYDOWN, SDLK_LCTRL},
                {150, SDL_KEYUP, SDLK_a},
                {160, SDL_KEYDOWN, SDLK_RIGHT},
                {200, SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, 176, 291},
                {220, SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, 239, 292},
                {230, SDL_KEYUP, SDLK_LCTRL},
                {231, SDL_KEYDOWN, SDLK_UP},
                {250, SDL_MOUSEBUTTONDOWN, SDLK_UNKNOWN, 177, 273},
                {270, SDL_KEYDOWN, SDLK_p},
                {285, SDL_KEYDOWN, SDLK_ESCAPE},
                {300, SDL_KEYDOWN, SDLK_LEFT}};
  for (const auto& s : script)
    if (s.frame == h.frames) h.Send(uint8_t(s.type), s.key, s.x, s.y);
}
