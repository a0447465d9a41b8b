// The game's four sounds as the build leaves them in data/, and the synthesiser (soundgen)
// that makes them from content/sounds.txt. The sounds cannot be listened to here, so they
// are measured: layout, length, loudness, the silence at the end, and how the pitch moves.
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr int kFullScale = 32767;

// A wave file read strictly; `problem` names the first thing that is not as the game needs.
struct WaveFile {
  std::vector<uint8_t> bytes;
  std::vector<int16_t> samples;
  int format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
  std::string problem;
  double Seconds() const { return static_cast<double>(samples.size()) / kRate; }
};

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | b[at + i];
  return value;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// RIFF, its size, WAVE, a 16-byte PCM "fmt " chunk, then "data" holding the rest exactly.
WaveFile ReadWave(const std::string& path) {
  WaveFile w;
  w.bytes = ReadAll(path);
  const auto& b = w.bytes;
  auto tag = [&](size_t at, const char* text) {
    return b.size() >= at + 4 && std::string(b.begin() + at, b.begin() + at + 4) == text;
  };
  if (b.size() < 44) {
    w.problem = "shorter than a wave header: " + path;
    return w;
  }
  if (!tag(0, "RIFF") || !tag(8, "WAVE")) w.problem = "no RIFF/WAVE header";
  else if (Le(b, 4, 4) != b.size() - 8) w.problem = "RIFF size is not the file size - 8";
  else if (!tag(12, "fmt ") || Le(b, 16, 4) != 16) w.problem = "no 16-byte fmt chunk at 12";
  else if (!tag(36, "data")) w.problem = "no data chunk at 36";
  else if (Le(b, 40, 4) != b.size() - 44) w.problem = "data size is not the rest of the file";
  if (!w.problem.empty()) return w;
  w.format = static_cast<int>(Le(b, 20, 2));
  w.channels = static_cast<int>(Le(b, 22, 2));
  w.rate = static_cast<int>(Le(b, 24, 4));
  w.byteRate = static_cast<int>(Le(b, 28, 4));
  w.blockAlign = static_cast<int>(Le(b, 32, 2));
  w.bits = static_cast<int>(Le(b, 34, 2));
  for (size_t at = 44; at + 1 < b.size(); at += 2) {
    w.samples.push_back(static_cast<int16_t>(Le(b, at, 2)));
  }
  return w;
}

// Sample index of a time in seconds, kept within the sound.
size_t At(const WaveFile& w, double seconds) {
  double index = std::round(seconds * kRate);
  if (index < 0) index = 0;
  return std::min(static_cast<size_t>(index), w.samples.size());
}

int Peak(const std::vector<int16_t>& s) {
  int peak = 0;
  for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
  return peak;
}

double Rms(const WaveFile& w, double from, double to) {
  size_t a = At(w, from), b = At(w, to);
  double sum = 0;
  for (size_t i = a; i < b; ++i) sum += static_cast<double>(w.samples[i]) * w.samples[i];
  return b > a ? std::sqrt(sum / static_cast<double>(b - a)) / kFullScale : 0.0;
}

// Half the sign changes per second: the pitch of a plain tone, the "brightness" of noise.
double CrossingHz(const WaveFile& w, double from, double to) {
  size_t a = At(w, from), b = At(w, to);
  int crossings = 0;
  for (size_t i = a + 1; i < b; ++i) {
    if ((w.samples[i - 1] < 0) != (w.samples[i] < 0)) ++crossings;
  }
  return b > a ? crossings / 2.0 / (static_cast<double>(b - a) / kRate) : 0.0;
}

// How much the stretch repeats itself: the best normalised autocorrelation over periods of
// 10 to 400 samples. Near 1 for a steady tone, low for noise.
double Periodicity(const WaveFile& w, double from, double to) {
  size_t a = At(w, from), b = At(w, to);
  double best = 0;
  for (size_t lag = 10; lag <= 400 && a + lag < b; ++lag) {
    double xy = 0, xx = 0, yy = 0;
    for (size_t i = a; i + lag < b; ++i) {
      double x = w.samples[i], y = w.samples[i + lag];
      xy += x * y;
      xx += x * x;
      yy += y * y;
    }
    if (xx > 0 && yy > 0) best = std::max(best, xy / std::sqrt(xx * yy));
  }
  return best;
}

std::string BuiltSound(int n) {
  return std::string(ZORBLATS_GAME_DIR) + "/data/" + std::to_string(n) + ".wav";
}

// What each sound must be, as designed: how long, and whether it is a tone or a burst.
struct Design {
  const char* what;
  double shortest, longest;  // seconds
};
const Design kDesigns[4] = {
    {"fire zap", 0.08, 0.16},
    {"enemy burst", 0.20, 0.40},
    {"launcher ping", 0.15, 0.35},
    {"gift arpeggio", 0.25, 0.45},
};

TEST(BuiltSounds, AreMonoPcmWavesOfTheRightLengthLoudButUnclippedAndEndInSilence) {
  for (int n = 0; n < 4; ++n) {
    SCOPED_TRACE(std::to_string(n) + ".wav, the " + kDesigns[n].what);
    WaveFile w = ReadWave(BuiltSound(n));
    ASSERT_EQ(w.problem, "");
    EXPECT_EQ(w.format, 1);  // PCM
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.rate, kRate);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.blockAlign, 2);
    EXPECT_EQ(w.byteRate, kRate * 2);
    EXPECT_GE(w.Seconds(), kDesigns[n].shortest);
    EXPECT_LE(w.Seconds(), kDesigns[n].longest);

    const int peak = Peak(w.samples);
    EXPECT_LE(peak, static_cast<int>(0.9 * kFullScale)) << "too close to clipping";
    EXPECT_GE(peak, static_cast<int>(0.4 * kFullScale)) << "too quiet to hear over the others";
    // Loud where it starts, silent where it stops: no click when the sound ends.
    EXPECT_GT(Rms(w, 0, 0.04), 0.08);
    EXPECT_LT(Rms(w, w.Seconds() - 0.005, w.Seconds()), 0.005);
    EXPECT_LT(std::abs(static_cast<int>(w.samples.back())), 200);
  }
}

TEST(BuiltSounds, LoadThroughTheMixerAtTheirFullLength) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(kRate, AUDIO_S16SYS, 1, 1024), 0) << Mix_GetError();
  // The mixer converts each sound to the device's format: every sound must come out with
  // the same bytes per sample of the file (none cut short), at least 16-bit mono's 2.
  std::vector<double> bytesPerSample;
  for (int n = 0; n < 4; ++n) {
    SCOPED_TRACE(std::to_string(n) + ".wav");
    WaveFile w = ReadWave(BuiltSound(n));
    ASSERT_FALSE(w.samples.empty());
    Mix_Chunk* chunk = Mix_LoadWAV(BuiltSound(n).c_str());
    ASSERT_NE(chunk, nullptr) << Mix_GetError();
    bytesPerSample.push_back(static_cast<double>(chunk->alen) / w.samples.size());
    Mix_FreeChunk(chunk);
  }
  for (double ratio : bytesPerSample) {
    EXPECT_GE(ratio, 1.99);
    EXPECT_NEAR(ratio, bytesPerSample[0], bytesPerSample[0] * 0.01);
  }
  Mix_CloseAudio();
  SDL_Quit();
}

TEST(BuiltSounds, EachMovesItsPitchAsDesignedAndAllFourDiffer) {
  WaveFile fire = ReadWave(BuiltSound(0));
  WaveFile burst = ReadWave(BuiltSound(1));
  WaveFile ping = ReadWave(BuiltSound(2));
  WaveFile gift = ReadWave(BuiltSound(3));
  for (const WaveFile* w : {&fire, &burst, &ping, &gift}) ASSERT_EQ(w->problem, "");

  // The zap dives: its first quarter is far higher than its last.
  const double q = fire.Seconds() / 4;
  EXPECT_GT(CrossingHz(fire, 0, q), 1.8 * CrossingHz(fire, 3 * q, 4 * q));
  EXPECT_GT(CrossingHz(fire, 0, q), 1000);  // bright

  // The burst is noise, not a tone, and it sinks from hiss to rumble.
  EXPECT_LT(Periodicity(burst, 0.0, 0.05), 0.6);
  EXPECT_GT(CrossingHz(burst, 0, 0.06), 2.5 * CrossingHz(burst, 0.15, 0.21));

  // The ping rings on one steady high pitch.
  EXPECT_GT(Periodicity(ping, 0.08, 0.16), 0.85);
  const double ring1 = CrossingHz(ping, 0.06, 0.11), ring2 = CrossingHz(ping, 0.11, 0.16);
  EXPECT_GT(ring1, 1000);
  EXPECT_NEAR(ring2, ring1, ring1 * 0.05);

  // The gift tune steps up note by note and ends an octave above where it began.
  const double notes[4] = {CrossingHz(gift, 0.01, 0.06), CrossingHz(gift, 0.08, 0.13),
                           CrossingHz(gift, 0.15, 0.20), CrossingHz(gift, 0.22, 0.28)};
  for (int i = 1; i < 4; ++i) EXPECT_GT(notes[i], notes[i - 1] * 1.08) << "note " << i;
  EXPECT_NEAR(notes[3] / notes[0], 2.0, 0.1);

  // No two sounds are the same file or the same length.
  const WaveFile* all[4] = {&fire, &burst, &ping, &gift};
  for (int i = 0; i < 4; ++i) {
    for (int j = i + 1; j < 4; ++j) {
      EXPECT_GT(std::fabs(all[i]->Seconds() - all[j]->Seconds()), 0.02) << i << " vs " << j;
    }
  }
}

// --- the synthesiser itself, run as the build runs it -----------------------------------

struct ToolRun {
  int status;
  std::string output;  // standard error and output together
};

class SoundgenTest : public ::testing::Test {
 protected:
  const std::string kTool = std::string(ZORBLATS_BINARY_DIR) + "/tools/contentgen/soundgen";
  void SetUp() override {
    char pattern[] = "/tmp/soundgen_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = std::string(pattern) + "/";
    ASSERT_EQ(access(kTool.c_str(), X_OK), 0) << "soundgen is not built at " << kTool;
  }
  void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

  ToolRun Generate(const std::string& recipe, const std::string& outDir) {
    std::ofstream(dir + "recipe.txt", std::ios::binary) << recipe;
    std::string command = kTool + " '" + dir + "recipe.txt' '" + outDir + "' 2>&1";
    ToolRun run{-1, ""};
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  std::string dir;
};

TEST_F(SoundgenTest, MakesTheToneItIsAskedForAtTheAskedLengthAndPeak) {
  ToolRun run = Generate(
      "sound tone.wav length 0.5 peak 0.5 fade 0.05\n"
      "  voice sine from 1000 attack 0.001 hold 0.5\n"
      "sound sweep.wav length 0.4 peak 0.7 fade 0.02\n"
      "  voice sine from 2000 to 500 attack 0.001 hold 0.4\n"
      "sound jump.wav length 0.3 fade 0.02\n"
      "  voice sine from 440 steps 0,12 steptime 0.1 attack 0.001 hold 0.3\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.output;

  WaveFile tone = ReadWave(dir + "tone.wav");
  ASSERT_EQ(tone.problem, "");
  EXPECT_EQ(tone.samples.size(), static_cast<size_t>(kRate / 2));
  EXPECT_NEAR(Peak(tone.samples), 0.5 * kFullScale, 2);
  EXPECT_NEAR(CrossingHz(tone, 0.05, 0.4), 1000, 10);
  EXPECT_NEAR(Rms(tone, 0.05, 0.4), 0.5 / std::sqrt(2.0), 0.01);  // a sine, not a square
  EXPECT_EQ(tone.samples.back(), 0);  // the fade reaches silence
  EXPECT_GT(Rms(tone, 0.44, 0.45), 4 * Rms(tone, 0.49, 0.5));  // and falls towards it

  // The sweep is exponential: halfway through it is at the geometric middle, 1000 Hz.
  WaveFile sweep = ReadWave(dir + "sweep.wav");
  ASSERT_EQ(sweep.problem, "");
  EXPECT_NEAR(CrossingHz(sweep, 0.18, 0.22), 1000, 50);
  EXPECT_NEAR(CrossingHz(sweep, 0.0, 0.02), 1965, 100);
  EXPECT_NEAR(Peak(sweep.samples), 0.7 * kFullScale, 2);

  // An arpeggio step of 12 semitones doubles the pitch after one step time, then holds.
  WaveFile jump = ReadWave(dir + "jump.wav");
  ASSERT_EQ(jump.problem, "");
  EXPECT_NEAR(CrossingHz(jump, 0.01, 0.09), 440, 15);
  EXPECT_NEAR(CrossingHz(jump, 0.11, 0.19), 880, 15);
  EXPECT_NEAR(CrossingHz(jump, 0.21, 0.27), 880, 15);
}

TEST_F(SoundgenTest, LayersStartStopAndShapeAsTold) {
  ToolRun run = Generate(
      "sound late.wav length 0.3 fade 0\n"
      "  voice sine from 500 at 0.1 for 0.1 attack 0.001 hold 0.1\n"
      "sound pulse.wav length 0.2 fade 0.01\n"
      "  voice square from 441 duty 0.25 attack 0.001 hold 0.2\n"
      "sound ring.wav length 0.2 fade 0.01\n"
      "  voice sine from 1000 ring 200 attack 0.001 hold 0.2\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.output;

  // A layer sounds only from its start for its length.
  WaveFile late = ReadWave(dir + "late.wav");
  ASSERT_EQ(late.problem, "");
  EXPECT_EQ(Rms(late, 0.0, 0.099), 0.0);
  EXPECT_GT(Rms(late, 0.12, 0.18), 0.3);
  EXPECT_EQ(Rms(late, 0.201, 0.3), 0.0);

  // A square of duty 0.25 is high a quarter of each cycle.
  WaveFile pulse = ReadWave(dir + "pulse.wav");
  ASSERT_EQ(pulse.problem, "");
  size_t high = 0, counted = 0;
  for (size_t i = At(pulse, 0.01); i < At(pulse, 0.18); ++i, ++counted) {
    if (pulse.samples[i] > 0) ++high;
  }
  EXPECT_NEAR(static_cast<double>(high) / counted, 0.25, 0.02);

  // Ring modulation swells and fades the tone 400 times a second (twice per 200 Hz cycle):
  // the loudness of 0.5 ms windows changes a lot, where a plain tone's would not.
  WaveFile ring = ReadWave(dir + "ring.wav");
  ASSERT_EQ(ring.problem, "");
  double quiet = 1, loud = 0;
  for (double t = 0.05; t < 0.06; t += 0.0005) {
    quiet = std::min(quiet, Rms(ring, t, t + 0.0005));
    loud = std::max(loud, Rms(ring, t, t + 0.0005));
  }
  EXPECT_LT(quiet, 0.3 * loud);
}

TEST_F(SoundgenTest, NoiseIsTheSameOnEveryRunAndFollowsItsSeed) {
  const std::string recipe = "sound n.wav length 0.2 seed SEED voice noise from 8000 to 500\n";
  auto withSeed = [&](const char* seed) {
    std::string r = recipe;
    r.replace(r.find("SEED"), 4, seed);
    return r;
  };
  ASSERT_EQ(Generate(withSeed("7"), dir).status, 0);
  std::vector<uint8_t> first = ReadAll(dir + "n.wav");
  ASSERT_EQ(Generate(withSeed("7"), dir).status, 0);
  EXPECT_EQ(ReadAll(dir + "n.wav"), first);
  ASSERT_EQ(Generate(withSeed("8"), dir).status, 0);
  EXPECT_NE(ReadAll(dir + "n.wav"), first);

  WaveFile noise = ReadWave(dir + "n.wav");
  ASSERT_EQ(noise.problem, "");
  EXPECT_LT(Periodicity(noise, 0.0, 0.05), 0.5);
  EXPECT_GT(CrossingHz(noise, 0, 0.04), 2 * CrossingHz(noise, 0.14, 0.18));
}

TEST_F(SoundgenTest, RefusesABadRecipeWithItsLineAndWritesNothing) {
  struct Case {
    const char* recipe;
    const char* says;
    bool alone;  // else a good sound goes first, on the same line, and must not be written
  };
  const Case cases[] = {
      {"sound a.wav length 0.2\n voice sine\n frm 440\n",
       "recipe.txt:3: unknown word 'frm'", false},
      {"sound a.wav length 0.2 peak 0.95 voice sine\n",
       "recipe.txt:1: 'peak' 0.95 is outside", false},
      {"sound a.wav length 0.2\n voice sine from 20000\n", "recipe.txt:2: 'from' 20000", false},
      {"sound a.wav length 0.2\n voice sine from loud\n", "needs a number, not 'loud'", false},
      {"sound a.wav length 0.2\n voice organ\n", "unknown wave 'organ'", false},
      {"sound a.wav length 0.2\n", "sound 'a.wav' has no voice", false},
      {"sound a.wav voice sine\n", "sound 'a.wav' has no 'length'", false},
      {"sound ../a.wav length 0.2 voice sine\n", "plain file name", false},
      {"sound a.wav length 0.2 voice sine\nsound a.wav length 0.1 voice sine\n",
       "recipe.txt:2: sound 'a.wav' is described twice", false},
      {"sound a.wav length 0.2 voice sine steps 0,x\n", "'steps' takes semitones", false},
      {"sound a.wav length 0.2 voice sine at 0.3\n", "starts after the sound ends", false},
      {"sound a.wav length 0.2 voice sine from\n", "recipe.txt:1: 'from' needs a value", false},
      {"voice sine\n", "recipe.txt:1: 'voice' before the first 'sound'", true},
      {"# only words about sounds\n", "no sound is described", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recipe);
    const std::string out = dir + "out/";
    std::system(("rm -rf '" + out + "' && mkdir '" + out + "'").c_str());
    std::ofstream(out + "good.wav") << "the sound from before";
    const std::string good = "sound good.wav length 0.1 voice sine ";
    ToolRun run = Generate(c.alone ? std::string(c.recipe) : good + c.recipe, out);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    const std::vector<uint8_t> kept = ReadAll(out + "good.wav");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the sound from before");
    EXPECT_TRUE(ReadAll(out + "a.wav").empty());
  }
}

}  // namespace
