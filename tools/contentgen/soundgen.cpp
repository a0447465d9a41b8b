// soundgen: the game's sound synthesiser. Reads readable recipes (content/sounds.txt) and
// writes each sound as a 16-bit mono 22050 Hz PCM wave file.
//
//   soundgen <recipes.txt> <output-folder>
//
// A recipe file is a list of words separated by blanks; "#" starts a comment that runs to
// the end of the line. "sound NAME" starts a sound, "voice WAVE" starts one of its layers,
// and every other word sets a value of the sound or layer it follows:
//
//   sound NAME        the file written into the output folder (a plain name ending ".wav")
//     length S        length of the file in seconds
//     peak L          the loudest sample of the finished mix, as a share of full scale
//                     (at most 0.9, so nothing clips)
//     fade S          a straight fade to silence over the last S seconds (no click)
//     seed N          start value of the noise generator: every build gives the same bytes
//   voice WAVE        a layer: square, triangle, sine, saw or noise
//     at S            when the layer starts (default 0)
//     for S           how long it sounds (default: to the end of the sound)
//     from HZ         pitch at the layer's start; for noise, how often a new random value
//                     is drawn (lower is darker and grittier)
//     to HZ           pitch at the layer's end, reached along an exponential sweep
//                     (default: no sweep)
//     duty SHARE      square only: the share of each cycle spent high (default 0.5)
//     attack S        rise from silence to full level (default 0.002)
//     hold S          stay at full level after the attack (default 0)
//     decay S         then fall to silence along a curve (default: the rest of the layer)
//     volume L        the layer's level in the mix (default 1)
//     steps A,B,...   arpeggio: semitone offsets taken in turn, one every `steptime`;
//                     the last one holds
//     steptime S      time of one arpeggio step (default 0.05)
//     ring HZ         multiplies the layer by a sine of this pitch (metallic, bell-like)
//     crush N         rounds the layer to N levels each way (grit); 0 leaves it smooth
//
// Nothing is written unless the whole file is valid: a mistake is reported as
// "<file>:<line>: <what is wrong>" on standard error and the program exits with status 1.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 22050;
constexpr double kPi = 3.14159265358979323846;
constexpr double kMaxPeak = 0.9;     // share of full scale the loudest sample may reach
constexpr double kMaxLength = 5.0;   // seconds: a game sound is short
constexpr double kNyquist = kSampleRate / 2.0;

enum class Wave { Square, Triangle, Sine, Saw, Noise };

struct Voice {
  Wave wave = Wave::Square;
  double at = 0;
  double length = -1;       // -1: to the end of the sound
  double from = 440;
  double to = -1;           // -1: same as from
  double duty = 0.5;
  double attack = 0.002;
  double hold = 0;
  double decay = -1;        // -1: the rest of the layer
  double volume = 1;
  std::vector<double> steps;  // semitones
  double stepTime = 0.05;
  double ring = 0;
  int crush = 0;
  int line = 0;
};

struct Sound {
  std::string name;
  double length = 0;
  double peak = 0.8;
  double fade = 0.01;
  uint32_t seed = 1;
  std::vector<Voice> voices;
  int line = 0;
};

// A parse failure: where and what.
struct RecipeError {
  int line;
  std::string message;
};

struct Token {
  std::string text;
  int line;
};

std::vector<Token> SplitWords(const std::string& source) {
  std::vector<Token> tokens;
  std::istringstream lines(source);
  std::string lineText;
  int line = 0;
  while (std::getline(lines, lineText)) {
    ++line;
    size_t hash = lineText.find('#');
    if (hash != std::string::npos) lineText.erase(hash);
    std::istringstream words(lineText);
    std::string word;
    while (words >> word) tokens.push_back({word, line});
  }
  return tokens;
}

// Reads tokens one by one and turns them into sounds.
class RecipeReader {
 public:
  explicit RecipeReader(std::vector<Token> t) : tokens(std::move(t)) {}

  // Parses the whole file; throws RecipeError on the first mistake.
  std::vector<Sound> ReadAll() {
    std::vector<Sound> sounds;
    while (pos < tokens.size()) {
      const Token& word = tokens[pos++];
      if (word.text == "sound") {
        sounds.push_back(Sound{});
        sounds.back().name = TakeWord(word);
        sounds.back().line = word.line;
        CheckName(sounds, word.line);
      } else if (sounds.empty()) {
        Fail(word.line, "'" + word.text + "' before the first 'sound'");
      } else if (word.text == "voice") {
        Voice voice;
        voice.line = word.line;
        voice.wave = ParseWave(TakeWord(word), word.line);
        sounds.back().voices.push_back(voice);
      } else if (sounds.back().voices.empty()) {
        SetSoundValue(sounds.back(), word);
      } else {
        SetVoiceValue(sounds.back().voices.back(), word);
      }
    }
    for (Sound& sound : sounds) Finish(sound);
    return sounds;
  }

 private:
  [[noreturn]] static void Fail(int line, const std::string& message) {
    throw RecipeError{line, message};
  }

  std::string TakeWord(const Token& key) {
    if (pos >= tokens.size()) Fail(key.line, "'" + key.text + "' needs a value");
    return tokens[pos++].text;
  }

  double TakeNumber(const Token& key, double low, double high) {
    std::string text = TakeWord(key);
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || errno != 0 || !std::isfinite(value)) {
      Fail(key.line, "'" + key.text + "' needs a number, not '" + text + "'");
    }
    if (value < low || value > high) {
      std::ostringstream message;
      message << "'" << key.text << "' " << text << " is outside " << low << " .. " << high;
      Fail(key.line, message.str());
    }
    return value;
  }

  static Wave ParseWave(const std::string& text, int line) {
    if (text == "square") return Wave::Square;
    if (text == "triangle") return Wave::Triangle;
    if (text == "sine") return Wave::Sine;
    if (text == "saw") return Wave::Saw;
    if (text == "noise") return Wave::Noise;
    Fail(line, "unknown wave '" + text + "' (square, triangle, sine, saw or noise)");
  }

  static void CheckName(const std::vector<Sound>& sounds, int line) {
    const std::string& name = sounds.back().name;
    if (name.size() < 5 || name.compare(name.size() - 4, 4, ".wav") != 0 ||
        name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
        name[0] == '.') {
      Fail(line, "sound name '" + name + "' must be a plain file name ending in .wav");
    }
    for (size_t i = 0; i + 1 < sounds.size(); ++i) {
      if (sounds[i].name == name) Fail(line, "sound '" + name + "' is described twice");
    }
  }

  void SetSoundValue(Sound& sound, const Token& key) {
    if (key.text == "length") {
      sound.length = TakeNumber(key, 0.01, kMaxLength);
    } else if (key.text == "peak") {
      sound.peak = TakeNumber(key, 0.01, kMaxPeak);
    } else if (key.text == "fade") {
      sound.fade = TakeNumber(key, 0, kMaxLength);
    } else if (key.text == "seed") {
      sound.seed = static_cast<uint32_t>(TakeNumber(key, 1, 4294967295.0));
    } else {
      Fail(key.line, "unknown word '" + key.text + "' for a sound (length, peak, fade, seed, "
                     "voice)");
    }
  }

  void SetVoiceValue(Voice& voice, const Token& key) {
    if (key.text == "at") {
      voice.at = TakeNumber(key, 0, kMaxLength);
    } else if (key.text == "for") {
      voice.length = TakeNumber(key, 0.001, kMaxLength);
    } else if (key.text == "from") {
      voice.from = TakeNumber(key, 1, kNyquist);
    } else if (key.text == "to") {
      voice.to = TakeNumber(key, 1, kNyquist);
    } else if (key.text == "duty") {
      voice.duty = TakeNumber(key, 0.01, 0.99);
    } else if (key.text == "attack") {
      voice.attack = TakeNumber(key, 0, kMaxLength);
    } else if (key.text == "hold") {
      voice.hold = TakeNumber(key, 0, kMaxLength);
    } else if (key.text == "decay") {
      voice.decay = TakeNumber(key, 0.001, kMaxLength);
    } else if (key.text == "volume") {
      voice.volume = TakeNumber(key, 0, 1);
    } else if (key.text == "steps") {
      voice.steps = ParseSteps(TakeWord(key), key.line);
    } else if (key.text == "steptime") {
      voice.stepTime = TakeNumber(key, 0.005, kMaxLength);
    } else if (key.text == "ring") {
      voice.ring = TakeNumber(key, 1, kNyquist);
    } else if (key.text == "crush") {
      voice.crush = static_cast<int>(TakeNumber(key, 0, 127));
    } else {
      Fail(key.line, "unknown word '" + key.text + "' for a voice (at, for, from, to, duty, "
                     "attack, hold, decay, volume, steps, steptime, ring, crush)");
    }
  }

  static std::vector<double> ParseSteps(const std::string& text, int line) {
    std::vector<double> steps;
    size_t start = 0;
    while (start <= text.size()) {
      size_t comma = text.find(',', start);
      std::string part = text.substr(start, comma == std::string::npos ? std::string::npos
                                                                        : comma - start);
      char* end = nullptr;
      double value = std::strtod(part.c_str(), &end);
      if (part.empty() || *end != '\0' || value < -48 || value > 48) {
        Fail(line, "'steps' takes semitones -48 .. 48 separated by commas, not '" + text + "'");
      }
      steps.push_back(value);
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    return steps;
  }

  // Checks what only the whole sound can tell, and fills the defaults that depend on it.
  static void Finish(Sound& sound) {
    if (sound.length <= 0) Fail(sound.line, "sound '" + sound.name + "' has no 'length'");
    if (sound.voices.empty()) Fail(sound.line, "sound '" + sound.name + "' has no voice");
    if (sound.fade > sound.length) {
      Fail(sound.line, "sound '" + sound.name + "' fades for longer than it lasts");
    }
    for (Voice& voice : sound.voices) {
      if (voice.at >= sound.length) Fail(voice.line, "the voice starts after the sound ends");
      if (voice.length < 0 || voice.at + voice.length > sound.length) {
        voice.length = sound.length - voice.at;
      }
      if (voice.to < 0) voice.to = voice.from;
      if (voice.decay < 0) voice.decay = std::max(0.001, voice.length - voice.attack - voice.hold);
      double top = std::max(voice.from, voice.to);
      for (double step : voice.steps) {
        if (voice.wave != Wave::Noise && top * std::pow(2.0, step / 12.0) > kNyquist) {
          Fail(voice.line, "an arpeggio step goes above 11025 Hz");
        }
      }
    }
  }

  std::vector<Token> tokens;
  size_t pos = 0;
};

// The noise source: a fixed linear congruential generator, so the bytes never change.
struct Noise {
  uint32_t state;
  double Next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / 8388608.0 - 1.0;  // -1 .. 1
  }
};

// The level of a layer at time t (seconds since the layer began).
double Envelope(const Voice& voice, double t) {
  if (t < voice.attack) return t / voice.attack;
  t -= voice.attack;
  if (t < voice.hold) return 1.0;
  t -= voice.hold;
  if (t >= voice.decay) return 0.0;
  double left = 1.0 - t / voice.decay;
  return left * left;
}

// One sample of a wave at phase 0..1.
double WaveSample(Wave wave, double phase, double duty) {
  switch (wave) {
    case Wave::Square: return phase < duty ? 1.0 : -1.0;
    case Wave::Triangle: return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Sine: return std::sin(2.0 * kPi * phase);
    case Wave::Saw: return 2.0 * phase - 1.0;
    case Wave::Noise: return 0.0;  // made by the caller
  }
  return 0.0;
}

// Adds one layer into the mix.
void RenderVoice(const Voice& voice, Noise& noise, std::vector<double>& mix) {
  const size_t first = static_cast<size_t>(std::lround(voice.at * kSampleRate));
  const size_t count = static_cast<size_t>(std::lround(voice.length * kSampleRate));
  double phase = 0.0;
  double held = noise.Next();
  for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
    double t = static_cast<double>(i) / kSampleRate;
    double share = voice.length > 0 ? t / voice.length : 0.0;
    double pitch = voice.from * std::pow(voice.to / voice.from, share);
    if (!voice.steps.empty()) {
      size_t step = static_cast<size_t>(t / voice.stepTime);
      if (step >= voice.steps.size()) step = voice.steps.size() - 1;
      pitch *= std::pow(2.0, voice.steps[step] / 12.0);
    }
    pitch = std::min(pitch, kNyquist);
    phase += pitch / kSampleRate;
    double value;
    if (voice.wave == Wave::Noise) {
      if (phase >= 1.0) held = noise.Next();  // a new value at every cycle of the rate
      value = held;
    } else {
      value = WaveSample(voice.wave, phase - std::floor(phase), voice.duty);
    }
    phase -= std::floor(phase);
    if (voice.ring > 0) value *= std::sin(2.0 * kPi * voice.ring * t);
    if (voice.crush > 0) value = std::round(value * voice.crush) / voice.crush;
    mix[first + i] += value * voice.volume * Envelope(voice, t);
  }
}

// The finished samples of a sound: layers mixed, faded out, scaled to its peak.
std::vector<int16_t> Render(const Sound& sound) {
  std::vector<double> mix(static_cast<size_t>(std::lround(sound.length * kSampleRate)), 0.0);
  Noise noise{sound.seed};
  for (const Voice& voice : sound.voices) RenderVoice(voice, noise, mix);
  const size_t fadeCount = static_cast<size_t>(std::lround(sound.fade * kSampleRate));
  for (size_t i = 0; i < fadeCount && i < mix.size(); ++i) {
    mix[mix.size() - 1 - i] *= static_cast<double>(i) / fadeCount;
  }
  double loudest = 0.0;
  for (double v : mix) loudest = std::max(loudest, std::fabs(v));
  std::vector<int16_t> samples(mix.size(), 0);
  if (loudest == 0.0) return samples;
  const double scale = sound.peak * 32767.0 / loudest;
  for (size_t i = 0; i < mix.size(); ++i) {
    samples[i] = static_cast<int16_t>(std::lround(mix[i] * scale));
  }
  return samples;
}

void PutLE(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The bytes of a RIFF wave file: "fmt " (PCM, mono, 22050 Hz, 16 bits) and "data".
std::string WaveFileBytes(const std::vector<int16_t>& samples) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::string out;
  out += "RIFF";
  PutLE(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  PutLE(out, 16, 4);              // fmt chunk size
  PutLE(out, 1, 2);               // PCM
  PutLE(out, 1, 2);               // mono
  PutLE(out, kSampleRate, 4);
  PutLE(out, kSampleRate * 2, 4); // bytes per second
  PutLE(out, 2, 2);               // bytes per sample frame
  PutLE(out, 16, 2);              // bits per sample
  out += "data";
  PutLE(out, dataBytes, 4);
  for (int16_t s : samples) PutLE(out, static_cast<uint16_t>(s), 2);
  return out;
}

// Writes through a temporary file and a rename, so a failed write leaves no half file.
bool WriteWhole(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "soundgen: cannot create %s: %s\n", temporary.c_str(),
                 std::strerror(errno));
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = (std::fclose(file) == 0) && ok;
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) {
    std::fprintf(stderr, "soundgen: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    std::remove(temporary.c_str());
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: soundgen <recipes.txt> <output-folder>\n");
    return 1;
  }
  const std::string recipePath = argv[1];
  std::ifstream in(recipePath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "soundgen: cannot open %s: %s\n", recipePath.c_str(),
                 std::strerror(errno));
    return 1;
  }
  std::stringstream source;
  source << in.rdbuf();

  std::vector<Sound> sounds;
  try {
    sounds = RecipeReader(SplitWords(source.str())).ReadAll();
  } catch (const RecipeError& error) {
    std::fprintf(stderr, "%s:%d: %s\n", recipePath.c_str(), error.line, error.message.c_str());
    return 1;
  }
  if (sounds.empty()) {
    std::fprintf(stderr, "%s: no sound is described\n", recipePath.c_str());
    return 1;
  }

  std::string folder = argv[2];
  if (!folder.empty() && folder.back() != '/') folder += '/';
  for (const Sound& sound : sounds) {
    if (!WriteWhole(folder + sound.name, WaveFileBytes(Render(sound)))) return 1;
  }
  return 0;
}
