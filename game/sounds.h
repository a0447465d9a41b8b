// The game's four sounds: data\0.wav to data\3.wav, started when sound is on.
#pragma once

// The number of the game's sounds (data\0.wav to data\3.wav).
constexpr int kSoundCount = 4;

// Starts wave file n (0 to 3) of the data folder unless sound is off. Called for the ship's
// fire (0), a kill or a ship hit (1), a launcher or gift hit (2) and a catch (3).
void PlaySound(int n);

// Loads the game's sounds once, so that a sound in play reads no file; a wave file that will
// not load stays silent. Called by RunGame.
void LoadSounds();
