// Fuzzes the settings file: any file is read field by field as far as it reaches, the table
// it gives is drawn on the high-score screen without reading past a name's 30 bytes, and the
// next save writes a well-formed 211-byte file that keeps every byte the file had (except the
// reserved last one) and the defaults where the file was short.
#include <algorithm>
#include <cstdint>
#include <string>

#include "frontend/high_scores.h"
#include "fuzz/fuzz_support.h"
#include "platform/small_file.h"
#include "settings/settings.h"

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
  std::string saved;
  FUZZ_CHECK(ReadSmallFile(path, 4096, saved));
  // The input's first 210 bytes, then the file a first start saves (all 0 but sound on, the
  // spare flag, 35 and "Brask"), whose last byte, the reserved one, is always 0.
  std::string expected(reinterpret_cast<const char*>(data), std::min<size_t>(size, 210));
  expected += (std::string(176, 0) + std::string("\1\1#\0Brask", 9) + std::string(26, 0))
                  .substr(expected.size());
  FUZZ_CHECK(saved == expected);

  if (place >= 0) MakeRoomAt(place);  // its moves are pinned by the unit tests; here: no overrun
  DrawHighScoreScreen();
  return 0;
}
