#include "bench/bench_scenes.h"

#include <cstdio>
#include <cstdlib>

#include "game/game_loop.h"

namespace {

PlayScene Capture() {
  PlayScene scene;
  scene.ship = PlayerShip;
  for (int i = 0; i < kFormationSlots; ++i) scene.enemies[i] = Enemies[i];
  scene.formation = EnemyFormation;
  scene.launcher = Launcher;
  for (int i = 0; i < kBrickCount; ++i) scene.bricks[i] = Bricks[i];
  for (int i = 0; i < kStarCount; ++i) scene.stars[i] = Stars[i];
  scene.play = Play;
  scene.level = CurrentLevel;
  return scene;
}

}  // namespace

PlayScene MakeMidLevelScene() {
  StartNewGame();
  Play.showBanner = 0;
  // Nobody fires on their own while the scene is made; the shots are placed below.
  for (Enemy& enemy : Enemies) enemy.fireTimer = 1;
  StepFrame();  // places every enemy from the formation

  PlayerShip.movingRight = 1;
  FireShot(PlayerShip);
  PlayerShip.shot.y = 150;
  // The bottom row's shots, spread over the way down to the bricks and the ship.
  for (int j = 0; j < kFormationColumns; ++j) {
    Enemy& enemy = Enemies[kFormationColumns * (kFormationRows - 1) + j];
    EnemyFire(enemy);
    enemy.shot.y = static_cast<int16_t>(enemy.shot.y + 12 * j);
  }
  Launcher.movingRight = 0;  // a crossing may have started in that step
  Launcher.falling = 1;
  Launcher.kind = ShipSpeed;
  Launcher.x = 40;
  Launcher.y = 60;

  // The scene must be what the figures claim; a change in the game that breaks it stops here.
  int enemyShots = 0;
  for (const Enemy& enemy : Enemies) enemyShots += enemy.shot.inFlight;
  if (EnemyFormation.liveCount != kFormationSlots || enemyShots != kFormationColumns ||
      !PlayerShip.shot.inFlight || Play.showBanner || Play.gameOver) {
    std::fprintf(stderr, "the mid-level scene is not as intended: %d enemies, %d enemy shots, ship shot %d\n",
                 EnemyFormation.liveCount, enemyShots, PlayerShip.shot.inFlight);
    std::exit(1);
  }
  return Capture();
}

void RestoreScene(const PlayScene& scene) {
  PlayerShip = scene.ship;
  for (int i = 0; i < kFormationSlots; ++i) Enemies[i] = scene.enemies[i];
  EnemyFormation = scene.formation;
  Launcher = scene.launcher;
  for (int i = 0; i < kBrickCount; ++i) Bricks[i] = scene.bricks[i];
  for (int i = 0; i < kStarCount; ++i) Stars[i] = scene.stars[i];
  Play = scene.play;
  CurrentLevel = scene.level;
}
