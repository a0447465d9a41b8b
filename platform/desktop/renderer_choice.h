// How SDL puts the game's screen on an X display. The SDL 1.2 layer (sdl12-compat) redraws
// the whole window through an SDL2 renderer at every update, however small: by default
// OpenGL, which on a display with no graphics processor behind it (a virtual machine, a
// remote or virtual X server) runs on Mesa's software rasteriser and costs several times
// what SDL2's own software renderer costs for the same picture.
#pragma once

// On an X display that offers no direct rendering (neither DRI3, DRI2 nor NVIDIA's GLX),
// asks SDL2 for its software renderer and a plain X framebuffer under it; values the user
// set in the environment win. Does nothing elsewhere. Called by OpenGameScreen before the
// first video mode.
void PreferSoftwareRendererWithoutGpu();
