// A fresh start of what the game changes as it runs, for the programs that run it again and
// again in one process: the tests, the whole-game fuzzer and the gallery tool.
#pragma once

// Puts every global the game changes while it runs back as the program's start has it: the
// settings record, the ship, the enemies, the formation, the launcher, the bricks and stars,
// the play state and the level, the random draw, the on-screen keyboard, the name entry's
// field and blink, and the help page turned to. What start-up loads (the screen, pictures,
// fonts, help text) stays. A new global of the game is reset here. Called before each run by
// the tests' fixture (GameTest), the whole-game fuzzer and the gallery tool.
void ResetRunState();
