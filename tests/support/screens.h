// For the front-end tests: what is shown, scripted typing, and a fixture with the painted
// pictures that lets a test look at the screen whenever the game waits, polls or pauses.
#pragma once
#include <cstring>
#include <functional>
#include <string>

#include "frontend/game_over.h"
#include "frontend/keyboard.h"
#include "frontend/name_entry.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "settings/settings.h"
#include "tests/support/harness.h"
#include "text/font.h"
#include "text/textbox.h"

// Whether what the game has shown at (x, y) is the w x h part at (px, py) of a picture (all of it
// when w is 0); where the picture has a colour key, anything may show.
inline bool Shows(SDL_Surface* p, int x, int y, int w = 0, int h = 0, int px = 0, int py = 0) {
  if (w == 0) w = p->w, h = p->h;
  const uint32_t key = p->flags & SDL_SRCCOLORKEY ? p->format->colorkey : 0xFFFFFFFF;
  for (int i = 0; i < w * h; ++i) {
    const uint32_t c = ReadPixel(px + i % w, py + i / w, p);
    if (c != key && c != ReadPixel(x + i % w, y + i / w, ShownScreen())) return false;
  }
  return true;
}

// Taps the key that gives each code in either layer ('\1': beside the keys, '\2': a right-
// button tap on the a key, '\x7f': a quit event); Enter is pressed and never lifted.
inline void TypeKeys(VirtualHost& host, const char* keys) {
  for (const char* c = keys; *c; ++c) {
    int x = *c == 2 ? 38 : 0, y = *c == 2 ? 276 : 250;
    for (const KeyboardKey& k : KeyTable)
      if (k.normal == *c || k.large == *c)
        x = (k.area.left + k.area.right) / 2, y = 234 + (k.area.top + k.area.bottom) / 2;
    *c == 0x7f   ? host.Quit()
    : *c == '\n' ? host.Press(x, y)
                 : host.Tap(x, y, *c == 2 ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT);
  }
}

class ScreenTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    SelectFont(kFontWhite);
    PrepareHelpBox(HelpBox);
  }
  // The host's hooks: a look at the screen whenever the game waits, polls or pauses.
  std::function<void()>&onWait = host.onWait, &onPoll = host.onPoll;
  std::function<void(uint32_t)>& onDelay = host.onDelay;
};
