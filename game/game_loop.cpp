#include "game/game_loop.h"

#include <cstdio>

#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/game_state.h"
#include "game/launcher.h"
#include "game/ship.h"
#include "game/sounds.h"
#include "platform/host.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "text/font.h"

constexpr uint32_t kFrameDelayMs = 50;
constexpr uint32_t kBannerDelayMs = 1000;
constexpr int kShipExplosionFrames = 5;
constexpr uint16_t kShipExplosionSize = 30;
// A kill that leaves fewer enemies than this speeds the formation up.
constexpr int32_t kSpeedUpBelow = 10;

void PlayShipExplosion() {
  PlaySound(1);
  for (int f = 0; f < kShipExplosionFrames; ++f) {
    BlitImagePart(Images[kShipExplosion], PlayerShip.x, PlayerShip.y, kShipExplosionSize,
                  kShipExplosionSize, static_cast<int16_t>(kShipExplosionSize * f), 0);
    SDL_Rect square{PlayerShip.x, PlayerShip.y, kShipExplosionSize, kShipExplosionSize};
    FlipScreenPart(square);
    HostDelay(kFrameDelayMs);
  }
  for (Enemy& enemy : Enemies) enemy.shot.inFlight = 0;
}

// After a kill by the ship's shot: the count, the speed-up, the sound, the chain kill and
// the end of the level.
static void CountKill(int r, int j) {
  Formation& f = EnemyFormation;
  f.liveCount -= 1;
  if (f.liveCount < kSpeedUpBelow) f.spedUp = 1;
  PlaySound(1);
  if (Launcher.chainOn && r > 0) {
    Enemy& above = Enemies[kFormationColumns * (r - 1) + j];
    if (above.alive) {
      above.cell = 0;
      above.alive = 0;
      above.shot.inFlight = 0;
      f.liveCount -= 1;
    }
  }
  if (f.liveCount <= 0) Play.levelDone = 1;
}

static void EnemyPass(const Rect& shipRect) {
  for (int r = 0; r < kFormationRows; ++r) {
    for (int j = 0; j < kFormationColumns; ++j) {
      Enemy& enemy = Enemies[kFormationColumns * r + j];
      enemy.x = static_cast<int16_t>(enemy.width * j + EnemyFormation.x);
      enemy.y = static_cast<int16_t>((enemy.height + 2) * r + EnemyFormation.y);
      EnemyTryFire(enemy);
      MoveShot(enemy.shot);
      if (enemy.shot.inFlight) {
        // Every visible brick is tested with the same point.
        for (Brick& brick : Bricks) {
          if (brick.visible && HitBrick(brick, enemy.shot.x, enemy.shot.y)) enemy.shot.inFlight = 0;
        }
      }
      if (HitEnemy(enemy)) CountKill(r, j);
      if (enemy.shot.inFlight && PtInRect(shipRect, enemy.shot.x, enemy.shot.y)) {
        enemy.shot.inFlight = 0;
        PlayerShip.lives = static_cast<int16_t>(PlayerShip.lives - 1);
        PlayShipExplosion();
        if (PlayerShip.lives == 0) Play.gameOver = 1;
      }
      DrawEnemy(enemy);
    }
  }
}

static void DrawNumbers() {
  char level[16];
  char score[16];
  char lives[16];
  std::snprintf(level, sizeof level, "%d", CurrentLevel + 1);
  std::snprintf(score, sizeof score, "%d", PlayerShip.score);
  std::snprintf(lives, sizeof lives, "%d", PlayerShip.lives);
  SelectFont(kFontWhite);
  DrawText(level, 128, 299, kFontWhite);
  DrawText(score, 128, 275, kFontWhite);
  DrawText(lives, 51, 273, kFontWhite);
  SelectFont(kFontWhite);
}

void UpdateAndDraw() {
  Ship& ship = PlayerShip;
  const Rect shipRect{ship.x, ship.y, ship.x + ship.width, ship.y + ship.height};

  BlitImage(Images[kInGame], 0, 0);
  for (Star& star : Stars) {
    MoveStar(star);
    DrawStar(star);
  }
  DrawShot(ship.shot);
  DrawShip(ship);
  DrawLauncher(Launcher);
  HitLauncher(Launcher);

  EnemyPass(shipRect);

  for (Brick& brick : Bricks) {
    if (ship.shot.inFlight && HitBrick(brick, ship.shot.x, ship.shot.y)) ship.shot.inFlight = 0;
    if (brick.visible) DrawBrick(brick);
  }

  DrawNumbers();

  if (Play.showBanner) {
    SDL_Surface* banner = Images[kLevelBanner];
    BlitImage(banner, static_cast<int16_t>(120 - banner->w / 2), static_cast<int16_t>(160 - banner->h / 2));
    FlipScreen();
    HostDelay(kBannerDelayMs);
    Play.showBanner = 0;
  }
  FlipScreen();
}

int StepFrame() {
  MoveShip(PlayerShip);
  MoveShot(PlayerShip.shot);
  UpdateLauncher(Launcher);
  TryStartLauncher(Launcher);
  MoveFormation();
  UpdateAndDraw();
  return 0;
}

// Applies the last event taken (it stays in the record until a newer one arrives) and
// reports whether it ends the spell of play.
static int HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: {
      // Escape, P and the pad's Start button pause, as the menu button does.
      if (event.key.keysym.sym == SDLK_ESCAPE || event.key.keysym.sym == SDLK_p) return OpenMenu;
      // The whole key table counts, not just the key of the event.
      const uint8_t* keys = HostKeyState();
      Ship& ship = PlayerShip;
      if (keys[SDLK_LEFT] == 1) {
        ship.movingRight = 0;
        ship.movingLeft = 1;
      }
      if (keys[SDLK_RIGHT] == 1) {
        ship.movingLeft = 0;
        ship.movingRight = 1;
      }
      if (keys[SDLK_UP] == 1) FireShot(ship);
      if (keys[SDLK_LCTRL] == 1) FireShot(ship);
      if (keys[SDLK_SPACE] == 1) FireShot(ship);  // also the pad's south button
      return 0;
    }
    case SDL_KEYUP: {
      const uint8_t* keys = HostKeyState();
      if (keys[SDLK_LEFT] == 0) PlayerShip.movingLeft = 0;
      if (keys[SDLK_RIGHT] == 0) PlayerShip.movingRight = 0;
      return 0;
    }
    case SDL_MOUSEBUTTONDOWN:
      return PtInRect(MenuTapZone, event.button.x, event.button.y) ? OpenMenu : 0;
    case SDL_QUIT:
      return Quit;
    case SDL_ACTIVEEVENT:
      // A game never runs unattended: losing the keyboard or being minimised pauses it.
      return !event.active.gain && (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) ? OpenMenu : 0;
    default:
      return 0;
  }
}

FlowCode RunGameLoop() {
  SDL_Event event{};  // no event type until the first one arrives
  HostPollEvent(&event);
  UpdateAndDraw();

  int result = 0;
  while (result == 0) {
    HostPollEvent(&event);
    result = HandleEvent(event);
    StepFrame();
    if (Play.levelDone) {
      Play.levelDone = 0;
      result = LevelCleared;
    }
    if (Play.gameOver) {
      Play.gameOver = 0;
      result = GameOver;
    }
    HostDelay(kFrameDelayMs);
  }
  return static_cast<FlowCode>(result);
}
