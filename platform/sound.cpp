#include "platform/sound.h"

namespace {

SoundOutput* output = nullptr;  // null: the back end's

}  // namespace

void UseSoundOutput(SoundOutput* chosen) { output = chosen; }

void PlayWaveFile(const char* gamePath) { (output ? *output : SpeakerOutput()).Play(gamePath); }
