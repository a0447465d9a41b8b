#include "frontend/run_state.h"

#include "frontend/keyboard.h"
#include "frontend/name_entry.h"
#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/game_state.h"
#include "game/launcher.h"
#include "game/random.h"
#include "game/ship.h"
#include "resources/images.h"
#include "settings/settings.h"
#include "text/textbox.h"

void ResetRunState() {
  Settings = SettingsRecord{};
  PlayerShip = Ship{};
  for (Enemy& enemy : Enemies) enemy = Enemy{};
  EnemyFormation = Formation{};
  Launcher = GiftLauncher{};
  for (Brick& brick : Bricks) brick = Brick{};
  for (Star& star : Stars) star = Star{};
  Play = PlayState{};
  CurrentLevel = 0;
  ResetRandom();
  largeKeys = 0;
  shiftPending = 0;
  keyboardOrigin = kKeyboardOrigin;
  EditField = EditFieldRecord{nullptr, {0, 0, 0, 0}, kFontWhite, 0, 0};
  blinkCounter = 0;
  HelpBox.currentPage = 0;
}
