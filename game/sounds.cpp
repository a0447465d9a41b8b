#include "game/sounds.h"

#include <cstdio>

#include "platform/paths.h"
#include "platform/sound.h"
#include "settings/settings.h"

// The path of sound n; false when the game's folder is too long for it (then: silence).
static bool SoundPath(int n, char (&path)[kPathCapacity]) {
  const int length = std::snprintf(path, sizeof path, "%s\\data\\%d.wav", ExeDir, n);
  return length >= 0 && length < static_cast<int>(sizeof path);
}

void PlaySound(int n) {
  if (Settings.soundOn == 0) return;
  char path[kPathCapacity];
  if (SoundPath(n, path)) PlayWaveFile(path);
}

void LoadSounds() {
  for (int n = 0; n < kSoundCount; ++n) {
    char path[kPathCapacity];
    if (SoundPath(n, path)) LoadWaveFile(path);
  }
}
