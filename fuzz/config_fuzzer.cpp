// Fuzzes the display config file: any file is read for what it holds (as the text alone
// gives it), a good line after any junk is taken, and the rewrite that the next switch
// makes reads back as the same values.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/config_file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  setenv("XDG_CONFIG_HOME", FuzzFolder().c_str(), 1);
  if (!SaveDisplayConfig({})) FuzzFail("cannot make the config folder");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  FuzzWriteFile(DisplayConfigPath(), data, size);
  const DisplayConfig read = LoadDisplayConfig();
  FUZZ_CHECK(read.fullscreen == ParseDisplayConfig(text).fullscreen);
  // Whatever came before, a good line within the first 4096 bytes is taken.
  if (size < 4000) FUZZ_CHECK(!ParseDisplayConfig(text + "\nfullscreen=0").fullscreen);
  FUZZ_CHECK(SaveDisplayConfig(read));
  FUZZ_CHECK(LoadDisplayConfig().fullscreen == read.fullscreen);
  FUZZ_CHECK(FuzzReadFile(DisplayConfigPath()) == FormatDisplayConfig(read));
  return 0;
}
