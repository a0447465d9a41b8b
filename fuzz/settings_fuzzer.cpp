// Fuzzes the settings file: any file is read field by field as far as it reaches, the table
// it gives is drawn on the high-score screen without reading past a name's 30 bytes, and the
// next save writes a well-formed 211-byte file that keeps every byte the file had (except the
// reserved last one) and the defaults where the file was short.
#include <cstdint>
#include <cstring>
#include <string>

#include "frontend/high_scores.h"
#include "fuzz/fuzz_support.h"
#include "settings/settings.h"

namespace {

// The file a first start saves: everything 0 except sound on, the spare flag, 35 and "Brask".
std::string DefaultFile() {
  std::string bytes(211, '\0');
  bytes[176] = 1;
  bytes[177] = 1;
  bytes[178] = 35;
  std::memcpy(&bytes[180], "Brask", 5);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzFolder() + "data/zorblats.set";
  FuzzWriteFile(path, data, size);
  Settings = SettingsRecord{};
  LoadSettings();
  FUZZ_CHECK(Settings.reserved == 0);

  DrawHighScoreScreen();
  // The insertion rules on whatever table the file held: the place found is the first whose
  // score is lower.
  const int32_t score = Settings.highScores[2];
  const int place = HighScorePlace(score);
  FUZZ_CHECK(place >= -1 && place < 5);
  for (int p = 0; p < (place < 0 ? 5 : place); ++p) FUZZ_CHECK(!(Settings.highScores[p] < score));
  if (place >= 0) FUZZ_CHECK(Settings.highScores[place] < score);

  FUZZ_CHECK(SaveSettings());
  const std::string saved = FuzzReadFile(path);
  FUZZ_CHECK(saved.size() == 211);
  const std::string defaults = DefaultFile();
  for (size_t i = 0; i < 210; ++i) {
    const char expected = i < size ? static_cast<char>(data[i]) : defaults[i];
    FUZZ_CHECK(saved[i] == expected);
  }
  FUZZ_CHECK(saved[210] == 0);

  if (place >= 0) MakeRoomAt(place);  // its moves are pinned by the unit tests; here: no overrun
  DrawHighScoreScreen();
  return 0;
}
