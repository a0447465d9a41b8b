// Gameplay rules that the golden replays meet too rarely to pin: a frame that ends the level
// and the game, options kept from the file, the chain kill's count and the gift's catch.
#include "frontend/options.h"
#include "game/sounds.h"
#include "tests/support/play_fixture.h"

using Bytes = std::vector<uint8_t>;

using RulesTest = PlayTest;

// One frame that kills the last enemy and takes the last life ends the game, not the level,
// and leaves neither flag set; an enemy killed in a frame still hits the ship with its shot.
TEST_F(RulesTest, AFrameThatEndsTheLevelAndTheGameEndsTheGame) {
  const struct {
    int16_t lives;
    uint8_t cell;         // of the one enemy left, which the ship's shot hits once
    int16_t shotX;        // of its shot, falling onto row 236 (the ship stands at 90..119)
    const char* outcome;  // result, lives, score, enemies left, flags level done and game over
  } cases[] = {
      {1, 1, 100, "5 lives 0 score 1 left 0 done 0 over 0"},
      {2, 1, 100, "4 lives 1 score 1 left 0 done 0 over 0"},
      {1, 1, 89, "4 lives 1 score 1 left 0 done 0 over 0"},
      {1, 2, 119, "5 lives 0 score 1 left 1 done 0 over 0"},
  };
  for (const auto& c : cases) {
    StartNewGame();
    PlayerShip.lives = c.lives;
    KeepOnly({40});  // at (0, 140)
    Enemies[40].hits = int16_t(c.cell - 1);
    PlayerShip.shot.inFlight = Enemies[40].shot.inFlight = 1;
    PlayerShip.shot.x = 5;
    PlayerShip.shot.y = 150;
    Enemies[40].shot.x = c.shotX;
    Enemies[40].shot.y = 230;
    const int result = RunGameLoop();
    char outcome[80];
    std::snprintf(outcome, sizeof outcome, "%d lives %d score %d left %d done %d over %d", result,
                  PlayerShip.lives, PlayerShip.score, EnemyFormation.liveCount, Play.levelDone,
                  Play.gameOver);
    EXPECT_STREQ(outcome, c.outcome) << c.lives << " " << int(c.cell) << " " << c.shotX;
  }
}

// Options read from the file are kept as they are: a difficulty outside 0..2 marks no row and
// leaves the fire chance of the level before (30 at program start); any sound byte but 0 is on,
// marked and heard.
TEST_F(RulesTest, OptionsFromTheFileOutsideTheirRangeAreKept) {
  const struct {
    int16_t difficulty;
    uint8_t sound;
    const char* outcome;  // the marked rows (difficulty 0..2, sound on, off), chance, sounds
  } cases[] = {
      {5, 2, "marks 3 chance 30 sounds 1"},     {0, 0, "marks 04 chance 7 sounds 0"},
      {-1, 255, "marks 3 chance 7 sounds 1"},   {1, 1, "marks 13 chance 20 sounds 1"},
      {256, 128, "marks 3 chance 20 sounds 1"}, {2, 0, "marks 24 chance 30 sounds 0"},
      {3, 1, "marks 3 chance 30 sounds 1"},
  };
  const int rows[] = {81, 108, 136, 210, 244};
  for (const auto& c : cases) {
    Bytes file(kSettingsFileSize);
    file[2] = uint8_t(c.difficulty);
    file[3] = uint8_t(c.difficulty >> 8);
    file[176] = c.sound;
    WriteFileBytes(folder + "data/zorblats.set", file);
    LoadSettings();
    DrawOptionsScreen();
    std::string outcome = "marks ";
    for (int row = 0; row < 5; ++row)
      if (ReadPixel(28, rows[row] + 7, ScreenSurface) == ReadPixel(7, 7, Images[kRadio]))
        outcome += char('0' + row);
    StartLevel(0);
    play.played[0] = 0;
    PlaySound(0);
    outcome += " chance " + std::to_string(Play.enemyFireChance) + " sounds " +
               std::to_string(play.played[0]);
    EXPECT_EQ(outcome, c.outcome) << c.difficulty << " " << int(c.sound);
  }
}

// The kill that leaves ten enemies takes the one above it too, with its shot: nine are left,
// and the block is not sped up, since the chain kill does not count toward it.
TEST_F(RulesTest, AChainKillDoesNotSpeedTheBlockUp) {
  StartNewGame();
  Play.showBanner = 0;
  KeepOnly({0, 1, 2, 3, 4, 5, 6, 7, 24, 32, 40});
  Launcher.chainOn = 1;
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = 5;
  PlayerShip.shot.y = 150;  // slot 40 stands at (0, 140)
  Enemies[32].shot.inFlight = 1;
  Enemies[32].shot.y = 100;
  UpdateAndDraw();
  // Left, sped up, slots 40, 32 and 24 alive, the shot of the enemy taken along in flight.
  EXPECT_EQ(std::tuple(EnemyFormation.liveCount, EnemyFormation.spedUp, Enemies[40].alive,
                       Enemies[32].alive, Enemies[24].alive, Enemies[32].shot.inFlight),
            std::tuple(9, 0, 0, 0, 1, 0));
}

// A gift is caught when its centre lies in the ship (90..119 from row 234); one column further
// it falls on until its bottom passes row 320, and is lost.
TEST_F(RulesTest, AGiftIsCaughtOnlyByTheShipElseLost) {
  StartNewGame();
  for (int x : {113, 114}) {
    Launcher.falling = 1;
    Launcher.kind = ExtraLife;
    Launcher.x = int16_t(x);
    Launcher.y = 228;  // its centre on the ship's top row
    int frames = 0;
    for (; Launcher.falling && frames < 100; ++frames) UpdateLauncher(Launcher);
    EXPECT_EQ(frames, x == 113 ? 1 : 27) << x;
    EXPECT_EQ(PlayerShip.lives, 4) << x;
  }
}
