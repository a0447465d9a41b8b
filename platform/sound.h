// Asynchronous wave playback by path, the stand-in for the handheld's sound call.
#pragma once

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual void Play(const char* gamePath) = 0;  // starts at once, never blocks or fails loudly
};

// Opens the audio device for the mixer; false (and silence from then on) when there is none.
// Called once by WinMain.
bool OpenSound();
// Closes the mixer and frees the cached sounds. Called by Shutdown.
void CloseSound();

// Chooses the output; null restores the mixer. Tests install a recorder.
void UseSoundOutput(SoundOutput* output);

// Plays the wave file at a game path: loaded once and cached by path, started on a free
// channel. A missing or damaged file, or no audio device, plays nothing. Called by PlaySound.
void PlayWaveFile(const char* gamePath);

// Loads a wave file into the cache without playing it, so that play never reads files.
// Called at start-up for each of the game's sounds.
void LoadWaveFile(const char* gamePath);
