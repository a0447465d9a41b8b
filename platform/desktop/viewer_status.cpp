#include "platform/viewer_status.h"

#include <SDL/SDL.h>

void ShowReplayStatus(const char* text) { SDL_WM_SetCaption(text, nullptr); }
