// The settings record and file: the options and the table of the five best scores.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kHighScorePlaces = 5;
constexpr int kNameFieldSize = 30;
constexpr size_t kSettingsFileSize = 211;
constexpr const char kSettingsFileName[] = "zorblats.set";

// Fields in file order; the file holds them packed, little-endian, 211 bytes.
struct SettingsRecord {
  uint16_t spareWordA = 0;
  int16_t difficulty = 0;  // 0, 1 or 2; other values are kept as read
  uint16_t spareWordB = 0;
  char highScoreNames[kHighScorePlaces][kNameFieldSize] = {};
  int32_t highScores[kHighScorePlaces] = {};
  uint8_t soundOn = 1;  // 0 silences PlaySound; any other value plays
  uint8_t spareFlag = 1;
  uint16_t spareNumber = 35;
  char spareName[kNameFieldSize] = "Brask";
  uint8_t reserved = 0;
};

// The one settings record of the run: defaults at start, then LoadSettings.
extern SettingsRecord Settings;

// Fills Settings from SettingsFolder() + "zorblats.set" as far as the file reaches. It never
// fails: a missing or unreadable file, or a pipe or device in its place, leaves the defaults.
// Called once by RunGame before any screen.
void LoadSettings();

// Writes all 211 bytes with SaveSmallFile: a temporary file "zorblats.tmp" beside the settings
// file (or beside the file its symbolic link names), flushed and renamed over it; rewritten in
// place where no new file fits; written into a pipe or device it links to. A file that cannot
// be written shows "error in settings file" (text and caption, MB_OK) and returns false.
// Called by the options screen, the high-score reset and EnterHighScore.
bool SaveSettings();

// The place 0..4 that a score takes in the table, or -1 when it takes none.
int HighScorePlace(int32_t score);

// Moves places p..3 down by one (names up to their zero, and scores); place 4 is lost.
void MakeRoomAt(int place);

// Clears every score and the first byte of every name; the caller saves.
void ResetHighScores();

// Encodes a record into the file's 211 bytes, and decodes as many fields as `size` covers.
// Used by SaveSettings/LoadSettings and the tests.
void EncodeSettings(const SettingsRecord& record, uint8_t out[kSettingsFileSize]);
void DecodeSettings(const uint8_t* bytes, size_t size, SettingsRecord& record);
