/* SDL 1.2's system parts in the browser. The timer: ticks from the page's clock, and a
   delay that hands the thread back to the browser (Asyncify) instead of spinning, so a
   waiting game lets the page draw and take input; SDL's own timers need a thread and stay
   off. The audio: the page plays the game's sounds (platform/web/sound.cpp). */
#include <emscripten.h>

#include "SDL_timer.h"
#include "timer/SDL_systimer.h"

static double start;

void SDL_StartTicks(void) { start = emscripten_get_now(); }

Uint32 SDL_GetTicks(void) { return (Uint32)(emscripten_get_now() - start); }

void SDL_Delay(Uint32 ms) { emscripten_sleep(ms); }

int SDL_SYS_TimerInit(void) { return 0; }

void SDL_SYS_TimerQuit(void) {}

int SDL_SYS_StartTimer(void) {
  SDL_SetError("Timers are not available in the browser");
  return -1;
}

void SDL_SYS_StopTimer(void) {}

/* The window's caption, which SDL passes on to its audio for sound servers to show. */
void SDL_Audio_SetCaption(const char *caption) { (void)caption; }
