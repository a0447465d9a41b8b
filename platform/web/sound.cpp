// The game's sounds through the page's Web Audio: each wave file is read from the game's
// data once and decoded by the browser; the page starts its audio on the first tap or key,
// as browsers require, and plays nothing before.
#include "platform/sound.h"

#include "platform/paths.h"
#include "platform/web/page.h"

namespace {

bool audioOpen = false;

class PageAudioOutput final : public SoundOutput {
 public:
  void Play(const char* gamePath) override {
    char path[kPathCapacity];
    if (audioOpen && HostPath(gamePath, path, sizeof path)) PlayPageSound(path);
  }
};

PageAudioOutput pageAudio;

}  // namespace

bool OpenSound() {
  audioOpen = audioOpen || OpenPageAudio() != 0;
  return audioOpen;
}

void CloseSound() {
  if (audioOpen) ClosePageAudio();
  audioOpen = false;
}

SoundOutput& SpeakerOutput() { return pageAudio; }

void LoadWaveFile(const char* gamePath) {
  char path[kPathCapacity];
  if (audioOpen && HostPath(gamePath, path, sizeof path)) LoadPageSound(path);
}
