// The play screen: the frame loop with its input, the frame step, the drawing pass with its
// collisions and the ship's explosion.
#pragma once
#include "game/flow_code.h"
#include "platform/rect.h"

// The menu button painted on the play screen's background.
constexpr Rect MenuTapZone{177, 273, 240, 292};

// Runs frames until the player taps the menu button (OpenMenu), closes the window (Quit),
// clears the level (LevelCleared) or loses the game (GameOver). Called by the driver after
// StartNewGame, StartLevel or a Resume from the menu.
FlowCode RunGameLoop();
// One frame: ship, its shot, launcher, formation, then UpdateAndDraw. Returns 0.
// Called once per frame by RunGameLoop.
int StepFrame();
// Draws the whole play screen and resolves the hits tested while drawing; shows the level
// banner on a level's first frame. Called by StepFrame and once on entry to RunGameLoop.
void UpdateAndDraw();
// The ship's five-frame explosion, shown square by square with 50 ms per frame; removes
// every enemy shot. Called by the enemy pass when a shot hits the ship.
void PlayShipExplosion();
