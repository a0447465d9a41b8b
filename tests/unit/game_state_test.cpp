// Level layouts, a new game and the set-up of each level.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/game_loop.h"
#include "tests/support/play_fixture.h"

TEST(LevelTable, EveryLevelHasTheEnemyCountOfItsLayout) {
  // The enemy counts as the level designer listed them beside each layout.
  const int listed[kLevelCount] = {48, 48, 48, 48, 48, 48, 48, 48, 42, 42, 42, 42, 42,
                                   42, 42, 42, 42, 42, 42, 42, 42, 42, 42, 42, 42};
  for (int level = 0; level < kLevelCount; ++level) {
    const auto& row = LevelTable[level];
    EXPECT_EQ(std::count_if(row.begin(), row.end(), [](uint8_t c) { return c != 0; }), listed[level])
        << "level " << level + 1;
    EXPECT_TRUE(std::all_of(row.begin(), row.end(), [](uint8_t c) { return c <= 3; }));
  }
}

TEST(LevelTable, RowsAreReadTopRowFirstLeftToRight) {
  // Level 1: "11133111 12222221 ..."; level 25 starts "00333300 03333330 13333331".
  EXPECT_EQ(LevelTable[0][3], 3);
  EXPECT_EQ(LevelTable[0][2], 1);
  EXPECT_EQ(LevelTable[0][8], 1);
  EXPECT_EQ(LevelTable[0][9], 2);
  EXPECT_EQ(LevelTable[24][0], 0);
  EXPECT_EQ(LevelTable[24][9], 3);
  EXPECT_EQ(LevelTable[24][16], 1);
  EXPECT_EQ(LevelTable[24][17], 3);
  EXPECT_EQ(LevelTable[24][47], 2);
  EXPECT_EQ(LevelTable[9], LevelTable[10]);   // levels 10 and 11 share a layout
  EXPECT_EQ(LevelTable[20], LevelTable[21]);  // and so do 21 and 22
  EXPECT_NE(LevelTable[22], LevelTable[23]);
}

using GameStateTest = PlayTest;

TEST_F(GameStateTest, NewGameSetsUpTheFirstLevel) {
  PlayerShip.lives = 1;
  PlayerShip.score = 77;
  CurrentLevel = 12;
  EXPECT_EQ(StartNewGame(), 0);

  EXPECT_EQ(PlayerShip.lives, 3);
  EXPECT_EQ(PlayerShip.score, 0);
  EXPECT_EQ(CurrentLevel, 0);
  // Player1.bmp is 60 wide here: 120 - 30.
  EXPECT_EQ(PlayerShip.x, 90);
  EXPECT_EQ(PlayerShip.y, 234);
  EXPECT_EQ(PlayerShip.width, 30);
  EXPECT_EQ(PlayerShip.height, 30);
  EXPECT_EQ(PlayerShip.bodyImage, Images[kPlayer]);
  EXPECT_EQ(PlayerShip.shot.image, Images[kShipShot]);
  EXPECT_EQ(Play.showBanner, 1);
  EXPECT_EQ(Play.enemyFireChance, 7);

  EXPECT_EQ(EnemyFormation.liveCount, 48);
  EXPECT_EQ(EnemyFormation.x, 0);
  EXPECT_EQ(EnemyFormation.y, 40);
  EXPECT_EQ(EnemyFormation.movingRight, 1);
  EXPECT_EQ(EnemyFormation.movingLeft, 0);

  // Slot 8r + j: placed 23 across and 20 down, salted r * j, hits = strength - 1.
  const Enemy& strong = Enemies[3];  // row 0, column 3: strength 3
  EXPECT_EQ(strong.cell, 3);
  EXPECT_EQ(strong.hits, 2);
  EXPECT_EQ(strong.x, 69);
  EXPECT_EQ(strong.y, 40);
  const Enemy& e = Enemies[8 * 4 + 6];
  EXPECT_EQ(e.alive, 1);
  EXPECT_EQ(e.hits, 0);
  EXPECT_EQ(e.fireSalt, 24);
  EXPECT_EQ(e.x, 138);
  EXPECT_EQ(e.y, 120);
  EXPECT_EQ(e.width, 23);
  EXPECT_EQ(e.height, 18);
  EXPECT_EQ(e.frameCount, 4);
  EXPECT_EQ(e.target, &PlayerShip);
  EXPECT_EQ(e.shot.image, Images[kEnemyShot]);
  EXPECT_EQ(e.bodyImages[2], Images[kEnemy3]);
  EXPECT_EQ(e.explosionImage, Images[kExplosion]);

  // Brick.bmp is 30 wide: bricks at 9, 89, 169 on row 200.
  EXPECT_EQ(Bricks[0].x, 9);
  EXPECT_EQ(Bricks[1].x, 89);
  EXPECT_EQ(Bricks[2].x, 169);
  for (const Brick& b : Bricks) {
    EXPECT_EQ(b.y, 200);
    EXPECT_EQ(b.visible, 1);
    EXPECT_EQ(b.image, Images[kBrick]);
    EXPECT_EQ(b.damagedImage, Images[kBrickWorn]);
  }
  EXPECT_EQ(Launcher.x, 0);
  EXPECT_EQ(Launcher.y, 15);
  EXPECT_EQ(Launcher.target, &PlayerShip);
  EXPECT_EQ(Launcher.launcherImage, Images[kGiftLauncher]);
  EXPECT_EQ(Launcher.giftImage, Images[kGifts]);
}

TEST_F(GameStateTest, DifficultySetsTheFireChanceAndOddValuesKeepIt) {
  StartLevel(0);
  EXPECT_EQ(Play.enemyFireChance, 7);  // difficulty 0
  Settings.difficulty = 7;
  StartLevel(0);
  EXPECT_EQ(Play.enemyFireChance, 7);  // kept
  Settings.difficulty = 1;
  StartLevel(0);
  EXPECT_EQ(Play.enemyFireChance, 20);
  Settings.difficulty = 2;
  StartLevel(0);
  EXPECT_EQ(Play.enemyFireChance, 30);
  Settings.difficulty = -1;
  StartLevel(0);
  EXPECT_EQ(Play.enemyFireChance, 30);
}

TEST_F(GameStateTest, OddDifficultyAtTheFirstLevelKeepsTheStartChance) {
  Settings.difficulty = 3;
  StartNewGame();
  EXPECT_EQ(Play.enemyFireChance, 30);
}

TEST_F(GameStateTest, EmptySlotsNeitherCountNorDraw) {
  StartLevel(8);  // level 9: "00333300 02222220 ..."
  EXPECT_EQ(EnemyFormation.liveCount, 42);
  EXPECT_EQ(Enemies[0].alive, 0);
  EXPECT_EQ(Enemies[0].cell, 0);
  EXPECT_EQ(Enemies[8].alive, 0);
  EXPECT_EQ(Enemies[9].alive, 1);
  EXPECT_EQ(Enemies[9].hits, 1);
  Play.showBanner = 0;
  HideStars();
  UpdateAndDraw();
  // Slot 0 stands at (0, 40): the background shows; slot 2 (strength 3) is drawn.
  EXPECT_EQ(ScreenPixel(11, 48), Colour(kInGame));
  EXPECT_EQ(ScreenPixel(46 + 11, 48), Colour(kEnemy3));
}

TEST_F(GameStateTest, LevelStartResetsTheLevelButKeepsScoreLivesAndFireTimers) {
  StartNewGame();
  PlayerShip.score = 321;
  PlayerShip.lives = 2;
  Enemies[5].fireTimer = 7;
  Enemies[5].alive = 0;
  Bricks[1].damage[3] = 2;
  Bricks[2].visible = 0;
  EnemyFormation.x = 33;
  EnemyFormation.spedUp = 1;
  EnemyFormation.movingRight = 0;
  EnemyFormation.movingLeft = 1;
  Play.gameOver = 1;
  PlayerShip.shot.inFlight = 1;
  Enemies[40].shot.inFlight = 1;
  Enemies[40].exploding = 1;

  CurrentLevel = 24;
  StartLevel(24);
  EXPECT_TRUE(std::equal(Play.layout, Play.layout + 48, LevelTable[24].begin()));
  EXPECT_EQ(EnemyFormation.liveCount, 42);
  // After the 25th level the driver comes back to the first.
  CurrentLevel = 0;
  StartLevel(0);
  EXPECT_TRUE(std::equal(Play.layout, Play.layout + 48, LevelTable[0].begin()));
  EXPECT_EQ(EnemyFormation.liveCount, 48);

  EXPECT_EQ(PlayerShip.score, 321);
  EXPECT_EQ(PlayerShip.lives, 2);
  EXPECT_EQ(Enemies[5].fireTimer, 7);
  EXPECT_EQ(Enemies[5].alive, 1);
  EXPECT_EQ(Bricks[1].damage[3], 0);
  EXPECT_EQ(Bricks[2].visible, 1);
  EXPECT_EQ(EnemyFormation.x, 0);
  EXPECT_EQ(EnemyFormation.spedUp, 0);
  EXPECT_EQ(EnemyFormation.movingRight, 1);
  EXPECT_EQ(EnemyFormation.movingLeft, 0);
  EXPECT_EQ(Play.gameOver, 0);
  EXPECT_EQ(PlayerShip.shot.inFlight, 0);
  EXPECT_EQ(Enemies[40].shot.inFlight, 0);
  EXPECT_EQ(Enemies[40].exploding, 0);
}

TEST_F(GameStateTest, LevelStartDropsARunningSpeedGift) {
  StartNewGame();
  Launcher.kind = ShipSpeed;
  Launcher.speedOn = 1;
  Launcher.effectActive = 1;
  Launcher.effectTimer = 40;
  PlayerShip.speed = 6;
  StartLevel(1);
  EXPECT_EQ(PlayerShip.speed, 4);
  EXPECT_EQ(Launcher.effectActive, 0);
  EXPECT_EQ(Launcher.speedOn, 0);
  EXPECT_EQ(Launcher.effectTimer, 0);
  EXPECT_EQ(Launcher.effectTime, 100);
  // A reverse gift is dropped without anything to undo.
  Launcher.reverseOn = 1;
  Launcher.chainOn = 1;
  Launcher.falling = 1;
  Launcher.x = 80;
  StartLevel(1);
  EXPECT_EQ(Launcher.reverseOn, 0);
  EXPECT_EQ(Launcher.chainOn, 0);
  EXPECT_EQ(Launcher.falling, 0);
  EXPECT_EQ(Launcher.x, 0);
  EXPECT_EQ(Launcher.y, 15);
  EXPECT_EQ(PlayerShip.speed, 4);
}

TEST_F(GameStateTest, StarsAreScatteredWithinTheirRanges) {
  host.now = 12345;
  StartLevel(0);
  bool allSame = true;
  for (const Star& s : Stars) {
    EXPECT_GE(s.y, 1);
    EXPECT_LE(s.y, 199);
    EXPECT_GE(s.x, 1);
    EXPECT_LE(s.x, 239);
    EXPECT_GE(s.fallSpeed, 1);
    EXPECT_LE(s.fallSpeed, 7);
    EXPECT_GE(s.driftSpeed, 1);
    EXPECT_LE(s.driftSpeed, 2);
    EXPECT_GE(s.imageIndex, 0);
    EXPECT_LE(s.imageIndex, 4);
    EXPECT_EQ(s.images[0], Images[kStar1]);
    EXPECT_EQ(s.images[4], Images[kStar5]);
    allSame = allSame && s.y == Stars[0].y;
  }
  EXPECT_FALSE(allSame);  // salted by index: the stars do not all start on one row
}
