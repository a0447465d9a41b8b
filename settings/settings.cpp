#include "settings/settings.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/small_file.h"

SettingsRecord Settings;

namespace {

// The finished file is first written beside the real one under this name and then renamed
// over it, so that a save cut short never leaves half a file.
constexpr const char kTemporaryFileName[] = "zorblats.tmp";

constexpr const char kSaveError[] = "error in settings file";

// Where each field lies in the file. Names and the spare name are raw 30-byte fields.
constexpr size_t kDifficultyOffset = 2;
constexpr size_t kSpareWordBOffset = 4;
constexpr size_t kNamesOffset = 6;
constexpr size_t kScoresOffset = kNamesOffset + kHighScorePlaces * kNameFieldSize;
constexpr size_t kSoundOnOffset = kScoresOffset + kHighScorePlaces * 4;
constexpr size_t kSpareFlagOffset = kSoundOnOffset + 1;
constexpr size_t kSpareNumberOffset = kSpareFlagOffset + 1;
constexpr size_t kSpareNameOffset = kSpareNumberOffset + 2;
constexpr size_t kReservedOffset = kSpareNameOffset + kNameFieldSize;
static_assert(kScoresOffset == 156 && kSoundOnOffset == 176 && kSpareNumberOffset == 178);
static_assert(kSpareNameOffset == 180 && kReservedOffset + 1 == kSettingsFileSize);

void PutLittleEndian(uint8_t* out, uint32_t value, size_t size) {
  for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Reads a little-endian field of `size` bytes at `offset` as far as `available` bytes reach:
// bytes beyond the end keep what the field held, as when the file ends inside a field.
uint32_t GetLittleEndian(const uint8_t* bytes, size_t available, size_t offset, size_t size,
                         uint32_t old) {
  uint32_t value = old;
  for (size_t i = 0; i < size; ++i) {
    if (offset + i >= available) break;
    value &= ~(0xFFu << (8 * i));
    value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  }
  return value;
}

void GetBytes(const uint8_t* bytes, size_t available, size_t offset, char* field, size_t size) {
  for (size_t i = 0; i < size && offset + i < available; ++i) {
    field[i] = static_cast<char>(bytes[offset + i]);
  }
}

// SettingsFolder() and a file name, in the game's 260-byte path buffer. False if too long.
bool FormSettingsPath(const char* fileName, char path[kPathCapacity]) {
  const int length = std::snprintf(path, kPathCapacity, "%s%s", SettingsFolder(), fileName);
  return length > 0 && static_cast<size_t>(length) < kPathCapacity;
}

}  // namespace

void EncodeSettings(const SettingsRecord& record, uint8_t out[kSettingsFileSize]) {
  PutLittleEndian(out, record.spareWordA, 2);
  PutLittleEndian(out + kDifficultyOffset, static_cast<uint16_t>(record.difficulty), 2);
  PutLittleEndian(out + kSpareWordBOffset, record.spareWordB, 2);
  std::memcpy(out + kNamesOffset, record.highScoreNames, sizeof record.highScoreNames);
  for (int i = 0; i < kHighScorePlaces; ++i) {
    PutLittleEndian(out + kScoresOffset + 4 * i, static_cast<uint32_t>(record.highScores[i]), 4);
  }
  out[kSoundOnOffset] = record.soundOn;
  out[kSpareFlagOffset] = record.spareFlag;
  PutLittleEndian(out + kSpareNumberOffset, record.spareNumber, 2);
  std::memcpy(out + kSpareNameOffset, record.spareName, sizeof record.spareName);
  out[kReservedOffset] = 0;
}

void DecodeSettings(const uint8_t* bytes, size_t size, SettingsRecord& record) {
  record.spareWordA = static_cast<uint16_t>(GetLittleEndian(bytes, size, 0, 2, record.spareWordA));
  record.difficulty = static_cast<int16_t>(
      GetLittleEndian(bytes, size, kDifficultyOffset, 2, static_cast<uint16_t>(record.difficulty)));
  record.spareWordB =
      static_cast<uint16_t>(GetLittleEndian(bytes, size, kSpareWordBOffset, 2, record.spareWordB));
  for (int i = 0; i < kHighScorePlaces; ++i) {
    GetBytes(bytes, size, kNamesOffset + kNameFieldSize * i, record.highScoreNames[i],
             kNameFieldSize);
  }
  for (int i = 0; i < kHighScorePlaces; ++i) {
    record.highScores[i] = static_cast<int32_t>(GetLittleEndian(
        bytes, size, kScoresOffset + 4 * i, 4, static_cast<uint32_t>(record.highScores[i])));
  }
  record.soundOn = static_cast<uint8_t>(GetLittleEndian(bytes, size, kSoundOnOffset, 1, record.soundOn));
  record.spareFlag =
      static_cast<uint8_t>(GetLittleEndian(bytes, size, kSpareFlagOffset, 1, record.spareFlag));
  record.spareNumber =
      static_cast<uint16_t>(GetLittleEndian(bytes, size, kSpareNumberOffset, 2, record.spareNumber));
  GetBytes(bytes, size, kSpareNameOffset, record.spareName, kNameFieldSize);
  // The last byte is read and dropped: reserved stays 0 in memory.
}

namespace {

class PlayerFile final : public SettingsStorage {
 public:
  bool Read(std::string& bytes) override {
    char hostPath[kPathCapacity];
    return FileHostPath(hostPath) && ReadSmallFile(hostPath, kSettingsFileSize, bytes);
  }
  bool Write(const uint8_t* bytes, size_t size) override {
    char hostPath[kPathCapacity];
    return FileHostPath(hostPath) && SaveSmallFile(hostPath, bytes, size, kTemporaryFileName);
  }

 private:
  // The settings file's path as the host names it.
  static bool FileHostPath(char (&hostPath)[kPathCapacity]) {
    char path[kPathCapacity];
    return FormSettingsPath(kSettingsFileName, path) && HostPath(path, hostPath, kPathCapacity);
  }
};

PlayerFile playerFile;
SettingsStorage* storage = &playerFile;

}  // namespace

SettingsStorage& PlayerSettingsFile() { return playerFile; }
void UseSettingsStorage(SettingsStorage* chosen) { storage = chosen ? chosen : &playerFile; }

void LoadSettings() {
  std::string bytes;
  // First start: the defaults stay, the first save makes the file.
  if (!storage->Read(bytes)) return;
  DecodeSettings(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), Settings);
}

bool SaveSettings() {
  uint8_t bytes[kSettingsFileSize];
  EncodeSettings(Settings, bytes);
  if (storage->Write(bytes, sizeof bytes)) return true;
  ShowMessageBox(kSaveError, kSaveError, MB_OK);
  return false;
}

int HighScorePlace(int32_t score) {
  for (int place = 0; place < kHighScorePlaces; ++place) {
    if (Settings.highScores[place] < score) return place;
  }
  return -1;
}

void MakeRoomAt(int place) {
  if (place < 0) return;
  for (int j = kHighScorePlaces - 2; j >= place; --j) {
    // The name up to and including its zero; the bytes behind it in place j + 1 stay.
    const char* from = Settings.highScoreNames[j];
    char* to = Settings.highScoreNames[j + 1];
    for (int i = 0; i < kNameFieldSize; ++i) {
      to[i] = from[i];
      if (from[i] == 0) break;
    }
    Settings.highScores[j + 1] = Settings.highScores[j];
  }
}

void ResetHighScores() {
  for (int place = 0; place < kHighScorePlaces; ++place) {
    Settings.highScores[place] = 0;
    Settings.highScoreNames[place][0] = 0;
  }
}
