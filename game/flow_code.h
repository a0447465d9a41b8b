// The small integer results through which the menu and the game loop steer the main driver.
#pragma once

enum FlowCode : int {
  NewGame = 1,       // from the menu: start a new game
  OpenMenu = 2,      // from play: the menu button was tapped
  Resume = 2,        // from the menu opened during play: back to the game as it stood
  Quit = 3,          // leave the program
  LevelCleared = 4,  // from play: no enemy of the level is left
  GameOver = 5       // from play: the last life is gone or the formation landed
};
