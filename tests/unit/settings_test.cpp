// The settings file field by field, and how the high-score table makes room for a new entry.
#include <cstring>

#include "settings/settings.h"
#include "tests/support/harness.h"

TEST_F(GameTest, EveryFieldLiesAtItsOffsetLittleEndian) {
  const std::string path = folder + "data/zorblats.set";
  std::vector<uint8_t> bytes(kSettingsFileSize);
  // Every byte different, but each name two letters long with more bytes behind its zero.
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = i >= 8 && i < 156 && (i - 8) % 30 == 0 ? 0 : uint8_t(i * 7 + 3);
  WriteFileBytes(path, bytes);  // its last byte is read and dropped
  Settings = SettingsRecord{};
  LoadSettings();
  const SettingsRecord& s = Settings;
  const uint32_t kFields[][3] = {{0, 2, s.spareWordA}, {2, 2, uint16_t(s.difficulty)}, {4, 2, s.spareWordB},
      {156, 4, uint32_t(s.highScores[0])}, {160, 4, uint32_t(s.highScores[1])}, {164, 4, uint32_t(s.highScores[2])},
      {168, 4, uint32_t(s.highScores[3])}, {172, 4, uint32_t(s.highScores[4])}, {176, 1, s.soundOn}, {177, 1, s.spareFlag},
      {178, 2, s.spareNumber}, {210, 0, s.reserved}};
  for (const auto& [at, size, value] : kFields) {
    uint32_t expected = 0;
    for (uint32_t i = 0; i < size; ++i) expected |= uint32_t(bytes[at + i]) << (8 * i);
    EXPECT_EQ(value, expected) << "offset " << at;
  }
  EXPECT_EQ(std::memcmp(s.highScoreNames, &bytes[6], 150) | std::memcmp(s.spareName, &bytes[180], 30), 0);
  Settings.reserved = 9;
  SaveSettings();
  bytes[210] = 0;
  EXPECT_EQ(ReadFileBytes(path), bytes);
  MakeRoomAt(4);  // nothing moves
  MakeRoomAt(1);  // places 1 to 3 move down, each name up to its zero; place 1 keeps its entry
  for (int j = 3; j >= 1; --j) std::memcpy(&bytes[36 + 30 * j], &bytes[6 + 30 * j], 3), std::memcpy(&bytes[160 + 4 * j], &bytes[156 + 4 * j], 4);
  SaveSettings();
  EXPECT_EQ(ReadFileBytes(path), bytes);
}
