// A fixture for the gameplay tests: synthetic images, default settings, and small helpers to
// stage a level (quiet enemies, chosen survivors) and to read what was drawn and played.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "settings/settings.h"
#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/game_state.h"
#include "game/launcher.h"
#include "game/ship.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"

class PlayTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    Settings = SettingsRecord{};
  }

  // The one colour of a synthetic image, as drawn on the screen.
  static uint32_t Colour(ImageId id) { return ReadPixel(0, 0, Images[id]); }

  // A new game whose enemies never fire and whose launcher never starts, without the banner.
  static void QuietGame() {
    StartNewGame();
    Play.enemyFireChance = 0;  // a draw of 0..499 never exceeds 500
    Play.launchChance = 0;
    Play.showBanner = 0;
  }

  // Empties every slot except the given ones, which stay as the level set them up.
  static void KeepOnly(std::initializer_list<int> slots) {
    int live = 0;
    for (int i = 0; i < kFormationSlots; ++i) {
      bool keep = false;
      for (int s : slots) keep = keep || s == i;
      if (keep && Enemies[i].alive) {
        ++live;
      } else {
        Enemies[i].alive = 0;
        Enemies[i].cell = 0;
      }
    }
    EnemyFormation.liveCount = live;
  }

  // Moves every star off the right of the screen, so pixel checks see only what they test.
  static void HideStars() {
    for (Star& star : Stars) star.x = 300;
  }

  // How many times wave file n was started.
  int Played(int n) const {
    const std::string tail = "\\data\\" + std::to_string(n) + ".wav";
    int count = 0;
    for (const std::string& path : sound.played) {
      if (path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0) {
        ++count;
      }
    }
    return count;
  }
};
