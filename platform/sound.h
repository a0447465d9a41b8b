// Asynchronous wave playback by path, the stand-in for the handheld's sound call: through
// SDL_mixer on the desktop, through the page's Web Audio in the browser (which plays nothing
// before the player's first tap or key).
#pragma once

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual void Play(const char* gamePath) = 0;  // starts at once, never blocks or fails loudly
};

// Opens the audio output; false (and silence from then on) when there is none. Called once
// by StartUp.
bool OpenSound();
// Closes the audio output and frees the loaded sounds. Called by Shutdown.
void CloseSound();

// The back end's audio output: where sounds go unless a test chose otherwise. Each back end
// provides it.
SoundOutput& SpeakerOutput();

// Chooses the output; null restores the back end's. Tests install a recorder.
void UseSoundOutput(SoundOutput* output);

// Plays the wave file at a game path, loaded once and kept by path. A missing or damaged
// file, or no audio output, plays nothing. Called by PlaySound.
void PlayWaveFile(const char* gamePath);

// Loads a wave file without playing it, so that play never reads files; one that will not
// load stays silent. Called by LoadSounds for each of the game's sounds.
void LoadWaveFile(const char* gamePath);
