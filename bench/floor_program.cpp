// The floor of the running game: a bare SDL 1.2 program that opens the same 240 x 320,
// 16-bit, full-screen, double-buffered screen and then only waits for events, until the
// window is closed. run_program.sh measures the game beside it.
#include <SDL/SDL.h>

#include <cstdio>

int main() {
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    std::fprintf(stderr, "floor_program: SDL_Init failed: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Surface* screen = SDL_SetVideoMode(240, 320, 16, SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN);
  if (!screen) {
    std::fprintf(stderr, "floor_program: no 240 x 320 screen: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  SDL_WM_SetCaption("FLOOR", nullptr);
  SDL_FillRect(screen, nullptr, 0);
  SDL_Flip(screen);
  SDL_Event event;
  while (SDL_WaitEvent(&event)) {
    if (event.type == SDL_QUIT) break;
  }
  SDL_Quit();
  return 0;
}
