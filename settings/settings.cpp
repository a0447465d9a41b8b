#include "settings/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/message_box.h"
#include "platform/paths.h"

SettingsRecord Settings;

namespace {

// The finished file is first written beside the real one under this name and then renamed
// over it, so that a save cut short never leaves half a file.
constexpr const char kTemporaryFileName[] = "zorblats.tmp";

constexpr const char kSaveError[] = "error in settings file";

SettingsRenameFunction renameFile = nullptr;

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

// Flushes the folder's entry for the renamed file to the disk. Some file systems cannot
// sync a folder; the file itself is already safe then, so the result is not a failure.
void SyncFolder(const char* hostFolder) {
  const int folder = open(hostFolder, O_RDONLY | O_DIRECTORY);
  if (folder < 0) return;
  fsync(folder);
  close(folder);
}

// Writes the bytes from the start of the file, cuts it after them and makes sure they
// reached the disk.
bool WriteAndSync(int fd, const uint8_t* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = pwrite(fd, bytes + done, size - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
}

// The file a save lands in: the settings file itself, or the file its symbolic link names,
// so that the link stays a link. A link to nothing yet must be written through in place.
std::string SaveTarget(const char* hostPath, bool* linkToNothing) {
  struct stat entry {};
  *linkToNothing = false;
  if (lstat(hostPath, &entry) != 0 || !S_ISLNK(entry.st_mode)) return hostPath;
  char* resolved = realpath(hostPath, nullptr);
  *linkToNothing = resolved == nullptr;
  const std::string target = resolved ? resolved : hostPath;
  std::free(resolved);
  return target;
}

// A file that is there but cannot be opened for writing (read-only, a folder) is not
// saved; a missing one is made by the save.
bool MayWrite(const std::string& target) {
  const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  close(fd);
  return true;
}

enum class Replaced { Saved, Failed, NoNewFile };

// The crash-safe save: a new file beside the old one, renamed over it once it is on the
// disk. On failure the old file is untouched; NoNewFile when the folder takes no new file
// of that name (no room for one, or a folder stands on the name).
Replaced ReplaceWithNewFile(const std::string& target, const uint8_t* bytes, size_t size) {
  const std::string folder = target.substr(0, target.rfind('/') + 1);
  const std::string temporary = folder + kTemporaryFileName;
  unlink(temporary.c_str());  // a stray file or link of that name goes; a folder stays
  const int fd =
      open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return Replaced::NoNewFile;
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
  const bool written = WriteAndSync(fd, bytes, size);
  const bool closed = close(fd) == 0;
  const SettingsRenameFunction moveIntoPlace = renameFile ? renameFile : std::rename;
  if (written && closed && moveIntoPlace(temporary.c_str(), target.c_str()) == 0) {
    SyncFolder(folder.empty() ? "." : folder.c_str());
    return Replaced::Saved;
  }
  unlink(temporary.c_str());
  return Replaced::Failed;
}

// Rewrites the file where it stands: for a folder that takes no new files, and through a
// link to a file not made yet.
bool RewriteInPlace(const std::string& target, const uint8_t* bytes, size_t size) {
  const int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAndSync(fd, bytes, size);
  return close(fd) == 0 && written;
}

}  // namespace

void UseSettingsRename(SettingsRenameFunction rename) { renameFile = rename; }

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

void LoadSettings() {
  char path[kPathCapacity];
  if (!FormSettingsPath(kSettingsFileName, path)) return;
  std::FILE* file = OpenGameFile(path, "rb");
  if (!file) return;  // first start: the defaults stay, the first save makes the file
  uint8_t bytes[kSettingsFileSize];
  size_t got = 0;
  while (got < sizeof bytes) {
    const size_t n = std::fread(bytes + got, 1, sizeof bytes - got, file);
    if (n == 0) break;
    got += n;
  }
  std::fclose(file);
  DecodeSettings(bytes, got, Settings);
}

bool SaveSettings() {
  char path[kPathCapacity], hostPath[kPathCapacity];
  if (FormSettingsPath(kSettingsFileName, path) && HostPath(path, hostPath, sizeof hostPath)) {
    uint8_t bytes[kSettingsFileSize];
    EncodeSettings(Settings, bytes);
    bool linkToNothing = false;
    const std::string target = SaveTarget(hostPath, &linkToNothing);
    if (MayWrite(target)) {
      const Replaced replaced =
          linkToNothing ? Replaced::NoNewFile : ReplaceWithNewFile(target, bytes, sizeof bytes);
      if (replaced == Replaced::Saved) return true;
      if (replaced == Replaced::NoNewFile && RewriteInPlace(target, bytes, sizeof bytes)) {
        return true;
      }
    }
  }
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
