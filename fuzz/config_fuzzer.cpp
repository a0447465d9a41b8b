// Fuzzes the display config file: any file reads as the rule says, told apart from the
// parser here, a good line after any junk is taken, and the rewrite that the next switch
// makes reads back as the same values.
#include <algorithm>
#include <cstdint>
#include <regex>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/config_file.h"
#include "platform/small_file.h"

namespace {

// The rule: the last line held whole in the file's first 4096 bytes (its newline among them
// or the next byte, or the end of a file no longer than that) that reads "fullscreen=0" or
// "fullscreen=1", with spaces, tabs and carriage returns allowed around the key and the value;
// full screen when no line does.
bool FullScreenByTheRule(const std::string& text) {
  static const std::regex kGoodLine("[ \t\r]*fullscreen[ \t\r]*=[ \t\r]*([01])[ \t\r]*");
  bool fullscreen = true;
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = std::min(text.find('\n', start), text.size());  // a last line without its newline
    if (end > 4096) break;
    const std::string line = text.substr(start, end - start);
    std::smatch value;
    if (std::regex_match(line, value, kGoodLine)) fullscreen = value[1] == "1";
  }
  return fullscreen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  FuzzWriteFile(DisplayConfigPath(), data, size);
  const DisplayConfig read = LoadDisplayConfig();
  FUZZ_CHECK(read.fullscreen == FullScreenByTheRule(text));
  // Whatever came before, a good line within the first 4096 bytes is taken.
  if (size < 4000) FUZZ_CHECK(!ParseDisplayConfig(text + "\nfullscreen=0").fullscreen);
  FUZZ_CHECK(SaveDisplayConfig(read) && LoadDisplayConfig().fullscreen == read.fullscreen);
  std::string saved;
  FUZZ_CHECK(ReadSmallFile(DisplayConfigPath(), 8192, saved) && saved == FormatDisplayConfig(read));
  return 0;
}
