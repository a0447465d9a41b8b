// The browser's entry point: the page's files and input, then everything happens in
// WinMain as on the desktop.
#include "app/replay_session.h"
#include "app/startup.h"
#include "platform/host.h"
#include "platform/web/page.h"

int main() {
  PreparePage();
  UseHostInput(&PageInput());
  ChooseReplaySession({});  // the best scores' sessions are kept beside the saves
  return WinMain();
}
