#include "game/play_state.h"

PlayState Play;
int32_t CurrentLevel = 0;
