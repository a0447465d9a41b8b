// The settings file and the high-score table: byte layout, reading odd files, the insertion
// rules and saves that must never lose the old file.
#include "settings/settings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "tests/support/harness.h"

namespace {

class SettingsTest : public GameTest {
 protected:
  std::string SettingsPath() const { return folder + "data/zorblats.set"; }
  std::string TemporaryPath() const { return folder + "data/zorblats.tmp"; }

  static uint32_t Le(const std::vector<uint8_t>& b, size_t at, size_t size) {
    uint32_t v = 0;
    for (size_t i = 0; i < size; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
    return v;
  }
  static void PutLe(std::vector<uint8_t>& b, size_t at, uint32_t v, size_t size) {
    for (size_t i = 0; i < size; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  static void SetName(int place, const char* text) {
    std::memset(Settings.highScoreNames[place], 0, kNameFieldSize);
    std::strcpy(Settings.highScoreNames[place], text);
  }
  static void SetTable(const int32_t (&scores)[5]) {
    const char* names[5] = {"Ann", "Bob", "Cid", "Dee", "Eve"};
    for (int i = 0; i < 5; ++i) {
      SetName(i, names[i]);
      Settings.highScores[i] = scores[i];
    }
  }
  // A file of the game's own making, for the tests that spoil a later save.
  std::vector<uint8_t> SaveKnownFile() {
    Settings.difficulty = 1;
    SetName(0, "Keeper");
    Settings.highScores[0] = 4242;
    EXPECT_TRUE(SaveSettings());
    std::vector<uint8_t> bytes = ReadFileBytes(SettingsPath());
    EXPECT_EQ(bytes.size(), kSettingsFileSize);
    return bytes;
  }
  void ExpectFailedSaveLeaves(const std::vector<uint8_t>& old) {
    boxes.shown.clear();
    Settings.difficulty = 2;
    Settings.highScores[0] = 9999;
    EXPECT_FALSE(SaveSettings());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "error in settings file");
    EXPECT_EQ(boxes.shown[0].caption, "error in settings file");
    EXPECT_EQ(boxes.shown[0].style, MB_OK);
    EXPECT_EQ(ReadFileBytes(SettingsPath()), old);
    // The record in memory keeps the player's choices.
    EXPECT_EQ(Settings.difficulty, 2);
    EXPECT_EQ(Settings.highScores[0], 9999);
  }
};

TEST_F(SettingsTest, SavedFileHasTheFixedLayout) {
  Settings.spareWordA = 0xBEEF;
  Settings.difficulty = -2;
  Settings.spareWordB = 0x1234;
  SetName(0, "Zed");
  Settings.highScoreNames[0][10] = 'q';  // behind the zero: goes to the file as it is
  SetName(3, "Quinn");
  Settings.highScores[0] = 70000;
  Settings.highScores[3] = -5;
  Settings.soundOn = 0;
  Settings.reserved = 9;  // never written: the last byte is always 0
  ASSERT_TRUE(SaveSettings());
  EXPECT_TRUE(boxes.shown.empty());

  const std::vector<uint8_t> b = ReadFileBytes(SettingsPath());
  ASSERT_EQ(b.size(), 211u);
  EXPECT_EQ(Le(b, 0, 2), 0xBEEFu);
  EXPECT_EQ(Le(b, 2, 2), 0xFFFEu);
  EXPECT_EQ(Le(b, 4, 2), 0x1234u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[6])), "Zed");
  EXPECT_EQ(b[6 + 10], 'q');
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[6 + 30 * 3])), "Quinn");
  EXPECT_EQ(b[6 + 30 * 1], 0);
  EXPECT_EQ(Le(b, 156, 4), 70000u);
  EXPECT_EQ(Le(b, 156 + 4 * 3, 4), 0xFFFFFFFBu);
  EXPECT_EQ(Le(b, 156 + 4 * 4, 4), 0u);
  EXPECT_EQ(b[176], 0);
  EXPECT_EQ(b[177], 1);
  EXPECT_EQ(Le(b, 178, 2), 35u);
  EXPECT_EQ(std::memcmp(&b[180], "Brask", 6), 0);
  for (int i = 186; i < 210; ++i) EXPECT_EQ(b[i], 0) << "offset " << i;
  EXPECT_EQ(b[210], 0);
  // Nothing of the save is left lying about.
  EXPECT_NE(access(TemporaryPath().c_str(), F_OK), 0);
}

TEST_F(SettingsTest, HandMadeFileIsReadFieldByField) {
  std::vector<uint8_t> b(211, 0);
  PutLe(b, 0, 0xA1B2, 2);
  PutLe(b, 2, 2, 2);
  PutLe(b, 4, 0xC3D4, 2);
  const char* names[5] = {"Top", "Second", "", "x", "Lowest"};
  for (int i = 0; i < 5; ++i) std::memcpy(&b[6 + 30 * i], names[i], std::strlen(names[i]));
  b[6 + 30 * 2 + 5] = 'k';  // junk behind an empty name
  const int32_t scores[5] = {900, 800, -1, 12, 3};
  for (int i = 0; i < 5; ++i) PutLe(b, 156 + 4 * i, static_cast<uint32_t>(scores[i]), 4);
  b[176] = 0;
  b[177] = 0x42;
  PutLe(b, 178, 513, 2);
  std::memcpy(&b[180], "Vox", 3);
  b[210] = 0x77;  // dropped when read
  WriteFileBytes(SettingsPath(), b);

  LoadSettings();
  EXPECT_EQ(Settings.spareWordA, 0xA1B2);
  EXPECT_EQ(Settings.difficulty, 2);
  EXPECT_EQ(Settings.spareWordB, 0xC3D4);
  for (int i = 0; i < 5; ++i) {
    EXPECT_STREQ(Settings.highScoreNames[i], names[i]);
    EXPECT_EQ(Settings.highScores[i], scores[i]);
  }
  EXPECT_EQ(Settings.highScoreNames[2][5], 'k');
  EXPECT_EQ(Settings.soundOn, 0);
  EXPECT_EQ(Settings.spareFlag, 0x42);
  EXPECT_EQ(Settings.spareNumber, 513);
  EXPECT_STREQ(Settings.spareName, "Vox");
  EXPECT_EQ(Settings.reserved, 0);

  // Written back unchanged except the reserved byte.
  ASSERT_TRUE(SaveSettings());
  std::vector<uint8_t> expected = b;
  expected[210] = 0;
  EXPECT_EQ(ReadFileBytes(SettingsPath()), expected);
}

TEST_F(SettingsTest, FirstStartKeepsDefaultsSilently) {
  LoadSettings();
  EXPECT_EQ(Settings.difficulty, 0);
  EXPECT_EQ(Settings.soundOn, 1);
  EXPECT_EQ(Settings.spareFlag, 1);
  EXPECT_EQ(Settings.spareNumber, 35);
  EXPECT_STREQ(Settings.spareName, "Brask");
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Settings.highScoreNames[i][0], 0);
    EXPECT_EQ(Settings.highScores[i], 0);
  }
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_NE(access(SettingsPath().c_str(), F_OK), 0) << "loading must not create the file";
}

TEST_F(SettingsTest, ShortFilesFillAsFarAsTheyReach) {
  // 177 bytes: everything up to soundOn; spareFlag, spareNumber and spareName keep defaults.
  std::vector<uint8_t> b(177, 0);
  PutLe(b, 2, 1, 2);
  std::memcpy(&b[6], "Short", 5);
  PutLe(b, 156, 321, 4);
  b[176] = 0;
  WriteFileBytes(SettingsPath(), b);
  LoadSettings();
  EXPECT_EQ(Settings.difficulty, 1);
  EXPECT_STREQ(Settings.highScoreNames[0], "Short");
  EXPECT_EQ(Settings.highScores[0], 321);
  EXPECT_EQ(Settings.soundOn, 0);
  EXPECT_EQ(Settings.spareFlag, 1);
  EXPECT_EQ(Settings.spareNumber, 35);
  EXPECT_STREQ(Settings.spareName, "Brask");

  // A file that ends inside a name: the name takes the bytes that are there.
  Settings = SettingsRecord{};
  std::vector<uint8_t> c(6 + 4, 0);
  std::memcpy(&c[6], "Abcd", 4);
  Settings.highScoreNames[0][4] = 'Z';
  Settings.highScoreNames[0][5] = 0;
  WriteFileBytes(SettingsPath(), c);
  LoadSettings();
  EXPECT_STREQ(Settings.highScoreNames[0], "AbcdZ");
  EXPECT_EQ(Settings.highScores[0], 0);
  EXPECT_EQ(Settings.soundOn, 1);

  // An empty file changes nothing.
  Settings = SettingsRecord{};
  WriteFileBytes(SettingsPath(), {});
  LoadSettings();
  EXPECT_EQ(Settings.soundOn, 1);
  EXPECT_EQ(Settings.spareNumber, 35);
}

TEST_F(SettingsTest, LongerFileReadsOnlyItsFirst211BytesAndIsCutOnSave) {
  std::vector<uint8_t> b(300, 0xEE);
  std::vector<uint8_t> head(211, 0);
  PutLe(head, 2, 1, 2);
  head[176] = 1;
  PutLe(head, 178, 35, 2);
  std::copy(head.begin(), head.end(), b.begin());
  b[210] = 0x99;
  WriteFileBytes(SettingsPath(), b);
  LoadSettings();
  EXPECT_EQ(Settings.difficulty, 1);
  EXPECT_EQ(Settings.reserved, 0);
  ASSERT_TRUE(SaveSettings());
  const std::vector<uint8_t> saved = ReadFileBytes(SettingsPath());
  ASSERT_EQ(saved.size(), 211u);
  EXPECT_EQ(saved, head);
}

TEST_F(SettingsTest, OutOfRangeValuesAreKept) {
  std::vector<uint8_t> b(211, 0);
  PutLe(b, 2, 5, 2);
  b[176] = 7;
  WriteFileBytes(SettingsPath(), b);
  LoadSettings();
  EXPECT_EQ(Settings.difficulty, 5);
  EXPECT_EQ(Settings.soundOn, 7);
  ASSERT_TRUE(SaveSettings());
  const std::vector<uint8_t> saved = ReadFileBytes(SettingsPath());
  ASSERT_EQ(saved.size(), 211u);
  EXPECT_EQ(Le(saved, 2, 2), 5u);
  EXPECT_EQ(saved[176], 7);
}

TEST(HighScoreTable, PlaceRules) {
  Settings = SettingsRecord{};
  EXPECT_EQ(HighScorePlace(0), -1) << "an all-zero table takes no zero score";
  EXPECT_EQ(HighScorePlace(1), 0);
  EXPECT_EQ(HighScorePlace(-3), -1);

  const int32_t scores[5] = {500, 400, 300, 200, 100};
  for (int i = 0; i < 5; ++i) Settings.highScores[i] = scores[i];
  EXPECT_EQ(HighScorePlace(100), -1) << "equal to place 4 stays out";
  EXPECT_EQ(HighScorePlace(101), 4);
  EXPECT_EQ(HighScorePlace(400), 2) << "equal to place 1 goes below it";
  EXPECT_EQ(HighScorePlace(501), 0);
  EXPECT_EQ(HighScorePlace(500), 1);
}

TEST_F(SettingsTest, MakeRoomMovesTheLowerEntriesDown) {
  SetTable({500, 400, 300, 200, 100});
  MakeRoomAt(2);
  EXPECT_STREQ(Settings.highScoreNames[0], "Ann");
  EXPECT_STREQ(Settings.highScoreNames[1], "Bob");
  EXPECT_STREQ(Settings.highScoreNames[2], "Cid") << "place p keeps its entry until overwritten";
  EXPECT_STREQ(Settings.highScoreNames[3], "Cid");
  EXPECT_STREQ(Settings.highScoreNames[4], "Dee");
  const int32_t after[5] = {500, 400, 300, 300, 200};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Settings.highScores[i], after[i]) << "place " << i;

  SetTable({500, 400, 300, 200, 100});
  MakeRoomAt(4);
  const int32_t same[5] = {500, 400, 300, 200, 100};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Settings.highScores[i], same[i]) << "place " << i;
  EXPECT_STREQ(Settings.highScoreNames[4], "Eve");
  EXPECT_STREQ(Settings.highScoreNames[3], "Dee");

  // Names are copied up to their zero only: what lay behind the zero at the destination stays.
  SetTable({500, 400, 300, 200, 100});
  std::strcpy(Settings.highScoreNames[4], "Abcdefghij");
  SetName(3, "Xy");
  MakeRoomAt(3);
  EXPECT_STREQ(Settings.highScoreNames[4], "Xy");
  EXPECT_EQ(std::string(Settings.highScoreNames[4] + 3), "defghij");
}

TEST_F(SettingsTest, ResetKeepsTheBytesBehindEachZero) {
  SetTable({500, 400, 300, 200, 100});
  ResetHighScores();
  const char* names[5] = {"Ann", "Bob", "Cid", "Dee", "Eve"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Settings.highScores[i], 0);
    EXPECT_EQ(Settings.highScoreNames[i][0], 0);
    EXPECT_STREQ(Settings.highScoreNames[i] + 1, names[i] + 1);
  }
  ASSERT_TRUE(SaveSettings());
  const std::vector<uint8_t> b = ReadFileBytes(SettingsPath());
  ASSERT_EQ(b.size(), 211u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(b[6 + 30 * i], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[6 + 30 * i + 1])), names[i] + 1);
    EXPECT_EQ(Le(b, 156 + 4 * i, 4), 0u);
  }
}

TEST_F(SettingsTest, SaveIntoAMissingFolderShowsTheMessage) {
  // The data folder's parent is a regular file: nothing can be made there.
  WriteFileBytes(folder + "plain", {1, 2, 3});
  std::snprintf(DataDir, sizeof DataDir, "%splain\\data\\", folder.c_str());
  EXPECT_FALSE(SaveSettings());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "error in settings file");
  EXPECT_EQ(ReadFileBytes(folder + "plain"), (std::vector<uint8_t>{1, 2, 3}));
}

int FailingRename(const char*, const char*) {
  errno = EIO;
  return -1;
}

TEST_F(SettingsTest, SaveCutShortBeforeTheRenameKeepsTheOldFile) {
  const std::vector<uint8_t> old = SaveKnownFile();
  UseSettingsRename(FailingRename);
  ExpectFailedSaveLeaves(old);
  UseSettingsRename(nullptr);
  EXPECT_NE(access(TemporaryPath().c_str(), F_OK), 0) << "the unfinished copy is removed";
  // The next save goes through again.
  ASSERT_TRUE(SaveSettings());
  const std::vector<uint8_t> now = ReadFileBytes(SettingsPath());
  ASSERT_EQ(now.size(), 211u);
  EXPECT_EQ(Le(now, 2, 2), 2u);
  EXPECT_EQ(Le(now, 156, 4), 9999u);
}

TEST_F(SettingsTest, DataFolderTooLongForThePathBuffer) {
  // 250 characters of folder plus "zorblats.set" do not fit the 260-byte path.
  std::string longDir(250, 'd');
  std::snprintf(DataDir, sizeof DataDir, "%s\\", longDir.c_str());
  LoadSettings();
  EXPECT_EQ(Settings.spareNumber, 35);
  EXPECT_FALSE(SaveSettings());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "error in settings file");
}

}  // namespace
