#include "platform/sound.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <cstring>

#include "platform/paths.h"

namespace {

// A handful of sounds are ever played; a small fixed cache keeps play free of allocation.
struct CachedSound {
  char path[kPathCapacity];
  Mix_Chunk* chunk;  // null when the file could not be loaded: stays silent
};
constexpr int kCacheSize = 16;
CachedSound cache[kCacheSize];
int cached = 0;
bool audioOpen = false;

// The cached sound for a path, loaded on first use; null when the cache is full or the
// path does not fit.
CachedSound* FindOrLoad(const char* gamePath) {
  for (int i = 0; i < cached; ++i) {
    if (std::strcmp(cache[i].path, gamePath) == 0) return &cache[i];
  }
  if (cached == kCacheSize || std::strlen(gamePath) >= kPathCapacity) return nullptr;
  char hostPath[kPathCapacity];
  if (!HostPath(gamePath, hostPath, sizeof hostPath)) return nullptr;
  CachedSound& entry = cache[cached++];
  std::strcpy(entry.path, gamePath);
  entry.chunk = Mix_LoadWAV(hostPath);
  return &entry;
}

class MixerOutput final : public SoundOutput {
 public:
  void Play(const char* gamePath) override {
    if (!audioOpen) return;
    CachedSound* sound = FindOrLoad(gamePath);
    if (sound && sound->chunk) Mix_PlayChannel(-1, sound->chunk, 0);
  }
};

MixerOutput mixer;

}  // namespace

bool OpenSound() {
  if (audioOpen) return true;
  if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) return false;
  // The mixer runs at the common device rate, so the audio thread does not resample every
  // buffer (the 22050 Hz sounds are converted once, when first loaded); 1024 samples keep
  // the 23 ms latency of 512 at 22050 Hz with half the wake-ups. Idle, this halves the
  // thread's processor use (bench/run_program.sh, PERFORMANCE.md).
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 1, 1024) < 0) return false;
  Mix_AllocateChannels(8);
  audioOpen = true;
  return true;
}

void CloseSound() {
  if (!audioOpen) return;
  Mix_HaltChannel(-1);
  for (int i = 0; i < cached; ++i) {
    if (cache[i].chunk) Mix_FreeChunk(cache[i].chunk);
  }
  cached = 0;
  Mix_CloseAudio();
  audioOpen = false;
}

SoundOutput& SpeakerOutput() { return mixer; }

void LoadWaveFile(const char* gamePath) {
  if (audioOpen) FindOrLoad(gamePath);
}
