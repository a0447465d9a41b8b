// The floor of the running game: a bare SDL 1.2 program that opens the same 240 x 320,
// 16-bit, full-screen, double-buffered screen. Without arguments it only waits for events
// (the floor of an idle screen); with "frames" it does what no play frame can do without:
// every 50 ms, one full-screen blit of a 240 x 320 picture and a flip (the floor of play).
// It runs until the window is closed or it is killed. run_program.sh measures the game
// beside it. With "startup" it prints how long it took from main to its first wait, and
// ends: the floor of the game's start-up (startup_bench.cpp). With "blink" it does what no
// screen with a blinking cursor can do without, as the name entry's rule has it: every
// 10 ms a look at the events, and every fourth time the cursor's cell (5 x 9 game pixels,
// scaled as the game scales) drawn or cleared and updated. With "window" as well, the
// screen is instead a 720 x 960 window, 16-bit, double-buffered: the game's window on a
// 1280 x 1024 desktop (three times 240 x 320), and "frames" blits a picture of that size;
// with "desktop", the screen is the whole desktop in full screen, as the game opens it (in
// device pixels under Wayland, with SDL12COMPAT_HIGHDPI=1 as the game sets it there).
#include <SDL/SDL.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

double Seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
  const double startWall = Seconds(CLOCK_MONOTONIC);
  const double startCpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  bool frames = false, startup = false, window = false, blink = false, desktop = false;
  for (int i = 1; i < argc; ++i) {
    frames = frames || std::strcmp(argv[i], "frames") == 0;
    startup = startup || std::strcmp(argv[i], "startup") == 0;
    window = window || std::strcmp(argv[i], "window") == 0;
    blink = blink || std::strcmp(argv[i], "blink") == 0;
    desktop = desktop || std::strcmp(argv[i], "desktop") == 0;
  }
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    std::fprintf(stderr, "floor_program: SDL_Init failed: %s\n", SDL_GetError());
    return 1;
  }
  const SDL_VideoInfo* info = SDL_GetVideoInfo();
  int width = window ? 720 : desktop && info ? info->current_w : 240;
  int height = window ? 960 : desktop && info ? info->current_h : 320;
  // Under Wayland the game's full screen is the output's device pixels, the first listed mode.
  char driver[16] = "";
  SDL_Rect** modes = SDL_ListModes(nullptr, SDL_FULLSCREEN);
  if (desktop && SDL_VideoDriverName(driver, sizeof driver) && std::strcmp(driver, "wayland") == 0 && modes &&
      modes != reinterpret_cast<SDL_Rect**>(-1) && modes[0]) {
    width = modes[0]->w;
    height = modes[0]->h;
  }
  SDL_Surface* screen =
      SDL_SetVideoMode(width, height, 16, SDL_HWSURFACE | SDL_DOUBLEBUF | (window ? 0 : SDL_FULLSCREEN));
  if (!screen) {
    std::fprintf(stderr, "floor_program: no %d x %d screen: %s\n", width, height, SDL_GetError());
    SDL_Quit();
    return 1;
  }
  SDL_WM_SetCaption("FLOOR", nullptr);
  SDL_FillRect(screen, nullptr, 0);
  SDL_Flip(screen);

  SDL_Event event;
  if (startup) {
    std::printf("startup_wall_us %.0f\nstartup_cpu_us %.0f\n", (Seconds(CLOCK_MONOTONIC) - startWall) * 1e6,
                (Seconds(CLOCK_PROCESS_CPUTIME_ID) - startCpu) * 1e6);
    SDL_Quit();
    return 0;
  }
  if (blink) {
    const int scale = std::max(1, std::min(width / 240, height / 320));
    const int left = (width - 240 * scale) / 2, top = (height - 320 * scale) / 2;
    for (int pass = 0;; ++pass) {
      while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
          SDL_Quit();
          return 0;
        }
      }
      if (pass % 4 == 0) {
        SDL_Rect cell{static_cast<Sint16>(left + 50 * scale), static_cast<Sint16>(top + 130 * scale),
                      static_cast<Uint16>(5 * scale), static_cast<Uint16>(9 * scale)};
        SDL_FillRect(screen, &cell, pass % 8 == 0 ? 0xFFFF : 0);
        SDL_UpdateRect(screen, cell.x, cell.y, cell.w, cell.h);
      }
      SDL_Delay(10);
    }
  }
  if (!frames) {
    while (SDL_WaitEvent(&event)) {
      if (event.type == SDL_QUIT) break;
    }
    SDL_Quit();
    return 0;
  }

  // A full-screen picture in the screen's format, with something drawn in it.
  SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0xF800, 0x07E0, 0x001F, 0);
  for (int band = 0; band < 32; ++band) {
    SDL_Rect rect{0, static_cast<Sint16>(band * height / 32), static_cast<Uint16>(width),
                  static_cast<Uint16>(height / 32)};
    SDL_FillRect(picture, &rect, static_cast<Uint32>(band * 0x0841));
  }
  for (;;) {
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) {
        SDL_FreeSurface(picture);
        SDL_Quit();
        return 0;
      }
    }
    SDL_BlitSurface(picture, nullptr, screen, nullptr);
    SDL_UpdateRect(screen, 0, 0, 0, 0);
    SDL_Delay(50);
  }
}
