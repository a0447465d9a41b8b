// The page shows a replay's state in the document's title and in the corner beside the picture.
#include <emscripten.h>

#include "platform/viewer_status.h"

namespace {

// clang-format off
EM_JS(void, ShowOnPage, (const char* text), {
  const status = UTF8ToString(text);
  document.title = status;
  if (typeof window.zorblatsReplayStatus === 'function') window.zorblatsReplayStatus(status);
});
// clang-format on

}  // namespace

void ShowReplayStatus(const char* text) { ShowOnPage(text); }
