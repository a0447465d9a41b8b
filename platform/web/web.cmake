# The browser build's libraries: SDL 1.2 and zlib compiled with emcc from Debian's source
# packages, which web.sh fetches into build-web/src (nothing of theirs is kept in this
# repository). They stand in for the desktop's pkg-config packages under the same target
# names, so every folder of the game links as it does on the desktop.
set(ZORBLATS_SDL_SOURCE "" CACHE PATH "Debian's libsdl1.2 source tree, unpacked")
set(ZORBLATS_ZLIB_SOURCE "" CACHE PATH "Debian's zlib source tree, unpacked")
if(NOT EXISTS "${ZORBLATS_SDL_SOURCE}/src/SDL.c" OR NOT EXISTS "${ZORBLATS_ZLIB_SOURCE}/inflate.c")
  message(FATAL_ERROR "The web build needs -DZORBLATS_SDL_SOURCE and -DZORBLATS_ZLIB_SOURCE "
                      "(./web.sh fetches both from Debian)")
endif()

# SDL's public headers as the game includes them (<SDL/SDL.h>), with the browser's settings
# in place of the configure step's SDL_config.h.
set(SDL_HEADERS ${CMAKE_BINARY_DIR}/sdl-include)
file(GLOB sdl_public_headers ${ZORBLATS_SDL_SOURCE}/include/*.h)
file(COPY ${sdl_public_headers} DESTINATION ${SDL_HEADERS}/SDL)
configure_file(${CMAKE_CURRENT_LIST_DIR}/sdl/SDL_config.h ${SDL_HEADERS}/SDL/SDL_config.h COPYONLY)

set(s ${ZORBLATS_SDL_SOURCE}/src)
file(GLOB sdl_sources
  ${s}/SDL.c ${s}/SDL_error.c ${s}/SDL_fatal.c ${s}/events/*.c ${s}/file/SDL_rwops.c
  ${s}/stdlib/*.c ${s}/cpuinfo/SDL_cpuinfo.c ${s}/thread/SDL_thread.c ${s}/thread/generic/*.c
  ${s}/timer/SDL_timer.c ${s}/joystick/SDL_joystick.c ${s}/joystick/dummy/*.c
  ${s}/video/SDL_RLEaccel.c ${s}/video/SDL_blit*.c ${s}/video/SDL_bmp.c ${s}/video/SDL_cursor.c
  ${s}/video/SDL_gamma.c ${s}/video/SDL_pixels.c ${s}/video/SDL_stretch.c
  ${s}/video/SDL_surface.c ${s}/video/SDL_video.c ${s}/video/SDL_yuv.c ${s}/video/SDL_yuv_sw.c
  ${s}/video/dummy/*.c)
add_library(sdl12_web STATIC ${sdl_sources} ${CMAKE_CURRENT_LIST_DIR}/sdl/system.c)
target_include_directories(sdl12_web PRIVATE ${SDL_HEADERS}/SDL ${s} ${s}/events ${s}/video ${s}/thread)
target_include_directories(sdl12_web INTERFACE ${SDL_HEADERS})
target_compile_options(sdl12_web PRIVATE -w -O2)

file(GLOB zlib_sources ${ZORBLATS_ZLIB_SOURCE}/*.c)
add_library(zlib_web STATIC ${zlib_sources})
target_include_directories(zlib_web PUBLIC ${ZORBLATS_ZLIB_SOURCE})
target_compile_options(zlib_web PRIVATE -w -O2 -DHAVE_UNISTD_H -DHAVE_STDARG_H)

# The names the game's folders link against on the desktop.
add_library(PkgConfig::SDL ALIAS sdl12_web)
add_library(ZLIB::ZLIB ALIAS zlib_web)
add_library(PkgConfig::SDL_IMAGE INTERFACE IMPORTED)  # the pack builder's only; not built here
