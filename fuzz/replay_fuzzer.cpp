// Fuzzes replay files: any file is read whole (header, zlib body, every record) or refused with
// a sentence, within bounded memory; a file the reader takes is then played to the whole game
// with the built content, and the game must close, the replay must say how it went, and no
// settings file may be written.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/driver.h"
#include "frontend/run_state.h"
#include "fuzz/fuzz_support.h"
#include "replay/session.h"
#include "tests/support/virtual_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReplayHeader header;
  std::string body, why;
  const std::string file(reinterpret_cast<const char*>(data), size);
  if (!TryUnpackReplay(file, header, body, why)) {
    FUZZ_CHECK(why.rfind("Th", 0) == 0 && why.back() == '.');
    return 0;
  }
  FUZZ_CHECK(why.empty() && body.size() <= kMaxReplayBody);

  ResetRunState();
  // The viewer presses nothing and closes the window after 200 s of its clock, so a replay
  // that keeps the game polling ends too.
  VirtualHost viewer;
  viewer.pollGraceMs = 200000;
  ReplayPlayer player(header, body, viewer);
  UseGameInput(&player);
  UseSettingsStorage(&player);
  FUZZ_CHECK(RunGame() == Quit);
  std::free(StoryText);
  StoryText = nullptr;
  player.AtRest(true);
  UseGameInput(nullptr);
  UseSettingsStorage(nullptr);
  FUZZ_CHECK(player.Outcome() != ReplayOutcome::Playing);
  FUZZ_CHECK(player.Verdict().rfind("The replay ", 0) == 0);
  FUZZ_CHECK(!std::filesystem::exists(FuzzFolder() + "data/zorblats.set"));  // no settings
  return 0;
}
