// The game-over screen: the game-over picture over the last frame of play, then the final
// score offered to the high-score table.
#pragma once

// Shows the game-over picture for three seconds, then offers the ship's score to the
// high-score table (EnterHighScore). Called by the main driver when a game is lost.
void RunGameOverScreen();
