// The browser's entry point: the page's files and input, then everything happens in
// WinMain as on the desktop. The page starts it with "--replay FILE" to play a replay.
#include <emscripten.h>

#include <cstring>

#include "app/replay_session.h"
#include "app/startup.h"
#include "platform/host.h"
#include "platform/web/page.h"

namespace {

constexpr char kSessionSoFar[] = "/tmp/session.zrp";

}  // namespace

// The page's "Save this replay" during play: the session so far in /tmp/session.zrp, for the
// page to hand to the browser as a download. 1 when it is there.
extern "C" EMSCRIPTEN_KEEPALIVE int PageSaveSessionSoFar() {
  return WriteSessionSoFar(kSessionSoFar) ? 1 : 0;
}

int main(int argc, char** argv) {
  PreparePage();
  UseHostInput(&PageInput());
  // Otherwise every session is recorded: last.zrp and the best scores' kept beside the saves.
  const bool watch = argc == 3 && std::strcmp(argv[1], "--replay") == 0;
  ChooseReplaySession({.record = !watch,
                       .recordTo = {},
                       .replay = watch ? argv[2] : "",
                       .bestPlace = -1});
  return WinMain();
}
