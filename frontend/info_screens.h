// The help screen (the paged help text), the about screen and the support screen.
#pragma once

// Shows HelpBox from the page it was left on; Previous/Next turn pages, Close closes (1),
// and so does Next on reaching page 4 (back to page 0). SDL_QUIT returns 3 and keeps the
// page. Called by the main menu.
int RunHelpScreen();

// about.bmp with Back (1) and Support (2); SDL_QUIT gives 3. Called by the main menu, which
// runs the support screen on 2.
int RunAboutScreen();

// support.bmp with Back (1); SDL_QUIT gives 3. Called by the main menu.
int RunSupportScreen();
