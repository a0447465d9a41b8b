// The settings file field by field, and how the high-score table makes room and is reset.
#include <cstring>
#include <string>
#include <vector>

#include "frontend/settings.h"
#include "tests/support/harness.h"

namespace {

TEST_F(GameTest, EveryFieldLiesAtItsOffsetLittleEndian) {
  const std::string path = folder + "data/zorblats.set";
  std::vector<uint8_t> bytes(kSettingsFileSize);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  WriteFileBytes(path, bytes);  // the last byte, 0x7D, is read and dropped
  Settings = SettingsRecord{};
  LoadSettings();
  const SettingsRecord& s = Settings;
  const struct {
    size_t at, size;
    uint32_t value;
  } kFields[] = {{0, 2, s.spareWordA},         {2, 2, uint16_t(s.difficulty)}, {4, 2, s.spareWordB},
                 {156, 4, uint32_t(s.highScores[0])}, {160, 4, uint32_t(s.highScores[1])},
                 {164, 4, uint32_t(s.highScores[2])}, {168, 4, uint32_t(s.highScores[3])},
                 {172, 4, uint32_t(s.highScores[4])}, {176, 1, s.soundOn}, {177, 1, s.spareFlag},
                 {178, 2, s.spareNumber},        {210, 1, s.reserved}};
  for (const auto& f : kFields) {
    uint32_t value = 0;
    for (size_t i = 0; i < f.size && f.at < 210; ++i) value |= uint32_t(bytes[f.at + i]) << (8 * i);
    EXPECT_EQ(value, f.value) << "offset " << f.at;
  }
  EXPECT_EQ(std::memcmp(s.highScoreNames, &bytes[6], 150), 0);
  EXPECT_EQ(std::memcmp(s.spareName, &bytes[180], 30), 0);
  Settings.reserved = 9;
  SaveSettings();
  bytes[210] = 0;
  EXPECT_EQ(ReadFileBytes(path), bytes);

  Settings = SettingsRecord{};
  SaveSettings();
  std::vector<uint8_t> defaults(kSettingsFileSize);
  defaults[176] = defaults[177] = 1;
  defaults[178] = 35;
  std::memcpy(&defaults[180], "Brask", 5);
  EXPECT_EQ(ReadFileBytes(path), defaults);
}

TEST(HighScoreTable, RoomIsMadeNameByNameUpToTheZeroAndAResetClearsOnlyFirstBytes) {
  for (int i = 0; i < 5; ++i) {
    std::memset(Settings.highScoreNames[i], 'a' + i, kNameFieldSize);
    Settings.highScoreNames[i][2] = 0;
    Settings.highScores[i] = 50 - i;
  }
  MakeRoomAt(4);  // nothing moves
  MakeRoomAt(1);  // places 1 to 3 move down; place 1 keeps its entry until it is overwritten
  for (int reset : {0, 1}) {
    for (int i = 0; i < 5; ++i) {
      const int from = i <= 1 ? i : i - 1;
      std::string name(kNameFieldSize, char('a' + i));
      name[0] = name[1] = char('a' + from);
      name[2] = 0;
      if (reset) name[0] = 0;
      EXPECT_EQ(std::string(Settings.highScoreNames[i], kNameFieldSize), name) << i;
      EXPECT_EQ(Settings.highScores[i], reset ? 0 : 50 - from) << i;
    }
    ResetHighScores();
  }
}

}  // namespace
