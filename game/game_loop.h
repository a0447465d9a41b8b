// The play screen: the frame loop with its input, the frame step, the drawing pass with its
// collisions, the ship's explosion and the game's sounds.
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
// Starts wave file n (0 to 3) of the data folder unless sound is off. Called for the ship's
// fire (0), a kill or a ship hit (1), a launcher or gift hit (2) and a catch (3).
void PlaySound(int n);

// The number of the game's sounds (data\0.wav to data\3.wav).
constexpr int kSoundCount = 4;
// Loads the game's sounds once, so that a sound in play reads no file. Called by RunGame.
void LoadSounds();
