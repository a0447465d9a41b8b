// The pack builder: bitmaps in, a gzip pack out that the system's gzip and the game's reader
// both understand; its compressor's options and errors; the tool's command line.
#include <sys/stat.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "resources/draw.h"
#include "resources/pack.h"
#include "tests/support/harness.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

struct Rgb {
  uint8_t r, g, b;
};

// A 24-bit BMP file written byte by byte: rows bottom-up, each padded to 4 bytes with zeros.
Bytes Bmp24(int width, int height, const std::vector<Rgb>& topDown) {
  const int stride = (width * 3 + 3) & ~3;
  Bytes out = {'B', 'M'};
  Put32(out, 54 + stride * height);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb& c = topDown[y * width + x];
      out.insert(out.end(), {c.b, c.g, c.r});
    }
    out.resize(out.size() + (stride - width * 3), 0);
  }
  return out;
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Runs a shell command and returns its standard output; the exit status goes to *status.
Bytes RunCommand(const std::string& command, int* status) {
  Bytes out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    *status = -1;
    return out;
  }
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
    out.insert(out.end(), chunk, chunk + got);
  const int raw = pclose(pipe);
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

Bytes GunzipWithSystemGzip(const std::string& path) {
  int status = 0;
  Bytes out = RunCommand("gzip -dc '" + path + "'", &status);
  EXPECT_EQ(status, 0) << "gzip -dc " << path;
  return out;
}

// The alpha flag of every entry of a content table, walking it by its pitches and heights.
std::vector<uint32_t> AlphaFlags(const Bytes& content) {
  auto u32 = [&](size_t at) {
    return at + 4 <= content.size()
               ? uint32_t(content[at] | content[at + 1] << 8 | content[at + 2] << 16 |
                          uint32_t(content[at + 3]) << 24)
               : 0u;
  };
  std::vector<uint32_t> flags;
  size_t at = 4;
  for (uint32_t i = 0; i < u32(0) && at + 31 <= content.size(); ++i) {
    flags.push_back(u32(at));
    at += 31 + size_t(content[at + 12] | content[at + 13] << 8) * u32(at + 8);
  }
  return flags;
}

class PackBuilderTest : public GameTest {
 protected:
  std::string Data(const std::string& name) { return folder + "data/" + name; }
  int Build(const std::string& output, std::vector<const char*> names) {
    PackFile builder(PackMode::Write);
    return builder.Build(output.c_str(),
                         NameList{static_cast<int32_t>(names.size()), names.data()});
  }
  bool Load(const char* name, ImageSet& set) {
    PackFile reader(PackMode::Read);
    std::string error;
    const bool loaded = reader.TryLoad(set, name, 2000000, &error);
    EXPECT_TRUE(loaded) << error;
    return loaded;
  }
  static Rgb ColourAt(SDL_Surface* s, int x, int y) {
    Rgb c{};
    SDL_GetRGB(ReadPixel(x, y, s), s->format, &c.r, &c.g, &c.b);
    return c;
  }
  // The colour the screen's format keeps of an exact colour.
  Rgb OnScreen(Rgb c) { return ColourAt(Quantised(c), 0, 0); }
  SDL_Surface* Quantised(Rgb c) {
    SDL_Surface* s =
        MakeSurface(1, 1, static_cast<uint16_t>(SDL_MapRGB(ScreenSurface->format, c.r, c.g, c.b)));
    owned.push_back(s);
    return s;
  }
  void ExpectColour(SDL_Surface* s, int x, int y, Rgb want) {
    const Rgb got = ColourAt(s, x, y), kept = OnScreen(want);
    EXPECT_TRUE(got.r == kept.r && got.g == kept.g && got.b == kept.b)
        << "at " << x << "," << y << ": " << int(got.r) << "," << int(got.g) << "," << int(got.b)
        << " instead of " << int(kept.r) << "," << int(kept.g) << "," << int(kept.b);
  }
};

const std::vector<Rgb> kSixColours = {{255, 0, 0},     {0, 255, 0},  {0, 0, 255},
                                      {255, 255, 255}, {16, 32, 48}, {200, 100, 0}};

TEST_F(PackBuilderTest, SystemGzipSeesExactlyTheContentTable) {
  WriteFileBytes(Data("six.bmp"), Bmp24(3, 2, kSixColours));
  WriteFileBytes(Data("one.bmp"), Bmp24(1, 1, {{7, 8, 9}}));
  ASSERT_EQ(Build(folder + "data/built", {"six.bmp", "one.bmp"}), 0);
  EXPECT_FALSE(Exists(Data("built")));

  Bytes expected;
  Put32(expected, 2);
  // 3 x 2 at 24 bits: rows of 9 bytes padded to 12, stored top row first as B, G, R.
  Put32(expected, 0);
  Put32(expected, 3);
  Put32(expected, 2);
  Put16(expected, 12);
  expected.push_back(24);
  for (uint32_t mask : {0xFF0000u, 0xFF00u, 0xFFu, 0u}) Put32(expected, mask);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      const Rgb& c = kSixColours[y * 3 + x];
      expected.insert(expected.end(), {c.b, c.g, c.r});
    }
    expected.insert(expected.end(), 3, 0);
  }
  Put32(expected, 0);
  Put32(expected, 1);
  Put32(expected, 1);
  Put16(expected, 4);
  expected.push_back(24);
  for (uint32_t mask : {0xFF0000u, 0xFF00u, 0xFFu, 0u}) Put32(expected, mask);
  expected.insert(expected.end(), {9, 8, 7, 0});

  const Bytes content = GunzipWithSystemGzip(Data("built.pak"));
  EXPECT_EQ(content, expected);

  // The same table compressed by the system's gzip reads like the builder's own pack.
  WriteFileBytes(Data("table"), content);
  int status = 0;
  RunCommand("gzip -9 -c '" + Data("table") + "' > '" + Data("system.pak") + "'", &status);
  ASSERT_EQ(status, 0);
  for (const char* name : {"//data//built", "//data//system"}) {
    SCOPED_TRACE(name);
    ImageSet set;
    ASSERT_TRUE(Load(name, set));
    ASSERT_EQ(set.Count(), 2);
    ASSERT_EQ(set.GetSurface(0)->w, 3);
    ASSERT_EQ(set.GetSurface(0)->h, 2);
    for (int i = 0; i < 6; ++i) ExpectColour(set.GetSurface(0), i % 3, i / 3, kSixColours[i]);
    ExpectColour(set.GetSurface(1), 0, 0, {7, 8, 9});
  }
}

TEST_F(PackBuilderTest, EmptyNameListGivesAZeroCount) {
  ASSERT_EQ(Build(std::string(ExeDir) + "data\\empty", {}), 0);
  EXPECT_EQ(GunzipWithSystemGzip(Data("empty.pak")), (Bytes{0, 0, 0, 0}));
  EXPECT_FALSE(Exists(Data("empty")));
  ImageSet set;
  ASSERT_TRUE(Load("\\data\\empty", set));
  EXPECT_EQ(set.Count(), 0);

  // Only a pack made for writing builds.
  PackFile reader(PackMode::Read);
  EXPECT_EQ(reader.Build((folder + "data/never").c_str(), NameList{}), 0);
  EXPECT_FALSE(Exists(Data("never.pak")));
  EXPECT_FALSE(Exists(Data("never")));
}

TEST_F(PackBuilderTest, ImageMagickBitmapsKeepTheirSizesAndColours) {
  int status = 0;
  RunCommand("command -v convert", &status);
  ASSERT_EQ(status, 0) << "ImageMagick's convert is needed: install the imagemagick package";

  // Odd widths make the rows of every depth need padding (16 and 24 bits).
  struct Source {
    const char* name;
    int bits, width, height;
    const char* options;
  };
  const Source sources[] = {
      {"rgb565.bmp", 16, 7, 5, "-alpha off -define bmp:subtype=RGB565 BMP:"},
      {"bgr24.bmp", 24, 9, 3, "-type TrueColor -define bmp:format=bmp3 BMP3:"},
      {"argb32.bmp", 32, 5, 4, "-type TrueColorAlpha BMP:"},
      // A paletted picture: the pack keeps no palette, so its colours must survive without.
      {"palette.bmp", 4, 5, 3, "-type Palette BMP3:"},
  };
  for (const Source& s : sources) {
    // A red ground, a cyan bottom row and a green top-right pixel: flipped or mirrored
    // rows, swapped channels and lost padding all show. Full channels only, so that every
    // depth holds the colours exactly, however it rounds.
    const std::string command =
        "convert -size " + std::to_string(s.width) + "x" + std::to_string(s.height) +
        " xc:'#ff0000' -fill '#00ffff' -draw 'line 0," + std::to_string(s.height - 1) + " " +
        std::to_string(s.width - 1) + "," + std::to_string(s.height - 1) +
        "' -fill '#00ff00' -draw 'point " + std::to_string(s.width - 1) + ",0' " + s.options + "'" +
        Data(s.name) + "'";
    RunCommand(command, &status);
    ASSERT_EQ(status, 0) << command;
    const Bytes file = ReadFileBytes(Data(s.name));
    ASSERT_GT(file.size(), 30u);
    ASSERT_EQ(file[28] | file[29] << 8, s.bits)
        << s.name << " was not written at " << s.bits << " bits";
  }
  RunCommand("convert -size 3x2 xc:'#ff8000' -alpha set -channel A -evaluate set 50% '" +
                 Data("half.png") + "'",
             &status);
  ASSERT_EQ(status, 0);

  ASSERT_EQ(Build(folder + "data/magick",
                  {"rgb565.bmp", "bgr24.bmp", "argb32.bmp", "palette.bmp", "half.png"}),
            0);
  const Bytes content = GunzipWithSystemGzip(Data("magick.pak"));
  ImageSet set;
  ASSERT_TRUE(Load("//data//magick", set));
  ASSERT_EQ(set.Count(), 5);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(sources[i].name);
    SDL_Surface* surface = set.GetSurface(i);
    ASSERT_EQ(surface->w, sources[i].width);
    ASSERT_EQ(surface->h, sources[i].height);
    ExpectColour(surface, 0, 0, {255, 0, 0});
    ExpectColour(surface, sources[i].width - 2, sources[i].height - 2, {255, 0, 0});
    ExpectColour(surface, sources[i].width - 1, 0, {0, 255, 0});
    ExpectColour(surface, 0, sources[i].height - 1, {0, 255, 255});
    ExpectColour(surface, sources[i].width - 1, sources[i].height - 1, {0, 255, 255});
  }
  // The bitmaps are flagged opaque; the PNG (its name ends in 'g') keeps its alpha.
  EXPECT_EQ(AlphaFlags(content), (std::vector<uint32_t>{0, 0, 0, 0, 1}));
  SDL_Surface* half = set.GetSurface(4);
  EXPECT_TRUE(half->flags & SDL_SRCALPHA);
  uint8_t r, g, b, a;
  SDL_GetRGBA(ReadPixel(1, 1, half), half->format, &r, &g, &b, &a);
  EXPECT_NEAR(a, 128, 1);
  EXPECT_EQ(r, 255);
}

TEST_F(PackBuilderTest, ASourceThatCannotBeLoadedStopsTheBuild) {
  WriteFileBytes(Data("a.bmp"), Bmp24(1, 1, {{1, 2, 3}}));
  WriteFileBytes(Data("broken.bmp"), Bytes{'B', 'M', 1, 2, 3});
  for (const char* bad : {"missing.bmp", "broken.bmp", "missing.png"}) {
    SCOPED_TRACE(bad);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Build(folder + "data/stopped", {"a.bmp", bad, "a.bmp"}), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find(std::string("Couldn't load ") + DataDir + bad + ": "), 0u) << said;
    EXPECT_FALSE(Exists(Data("stopped.pak")));
    EXPECT_FALSE(Exists(Data("stopped")));
  }
}

// The gzip header's extra-flags byte tells how the stream was made: 2 for level 9, 4 for
// level 1 or Huffman-only coding, 0 otherwise.
uint8_t ExtraFlags(const Bytes& pack) { return pack.size() > 8 ? pack[8] : 0xFF; }

TEST_F(PackBuilderTest, CompressorOptionsSetLevelAndStrategy) {
  const Bytes zeros(100000, 0);
  struct Case {
    std::vector<const char*> options;
    uint8_t extraFlags;
    bool huffmanOnly;  // no repeats found: at least a bit per byte
  };
  const Case cases[] = {
      {{}, 0, false},           {{"-9"}, 2, false},       {{"-1"}, 4, false},
      {{"-9", "-1"}, 4, false}, {{"-1", "-9"}, 2, false}, {{"-h"}, 4, true},
      {{"-f", "-h"}, 4, true},  {{"-h", "-f"}, 0, false}, {{"-1", "-h", "-f"}, 4, false},
  };
  for (const Case& c : cases) {
    std::string label = "options";
    for (const char* o : c.options) label += std::string(" ") + o;
    SCOPED_TRACE(label);
    const std::string input = Data("zeros");
    WriteFileBytes(input, zeros);
    std::vector<const char*> argv = {"name"};
    argv.insert(argv.end(), c.options.begin(), c.options.end());
    argv.push_back(input.c_str());
    ASSERT_EQ(PackCompressor(static_cast<int>(argv.size()), argv.data()), 0);
    EXPECT_FALSE(Exists(input));
    const Bytes pack = ReadFileBytes(input + ".pak");
    EXPECT_EQ(ExtraFlags(pack), c.extraFlags);
    if (c.huffmanOnly) {
      EXPECT_GT(pack.size(), zeros.size() / 8);
    } else {
      EXPECT_LT(pack.size(), 1000u);
    }
    EXPECT_EQ(GunzipWithSystemGzip(input + ".pak"), zeros);
  }
}

TEST_F(PackBuilderTest, CompressorNamesTheFileItCannotOpen) {
  const std::string missing = Data("nothing");
  // "-x" and "-10" are not options: they are the first file names.
  const std::vector<std::vector<const char*>> calls = {
      {"name", "-9", missing.c_str()}, {"name", "-x"}, {"name", "-10", missing.c_str()}};
  const std::string expected[] = {missing, "-x", "-10"};
  for (size_t i = 0; i < calls.size(); ++i) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(PackCompressor(static_cast<int>(calls[i].size()), calls[i].data()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              expected[i] + ": No such file or directory\n");
    EXPECT_FALSE(Exists(expected[i] + ".pak"));
  }

  // Every file named is compressed; the first failure stops the rest.
  WriteFileBytes(Data("first"), Bytes(10, 1));
  WriteFileBytes(Data("third"), Bytes(10, 3));
  const std::string first = Data("first"), third = Data("third");
  const char* argv[] = {"name", first.c_str(), missing.c_str(), third.c_str()};
  testing::internal::CaptureStdout();
  EXPECT_EQ(PackCompressor(4, argv), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(GunzipWithSystemGzip(first + ".pak"), Bytes(10, 1));
  EXPECT_TRUE(Exists(third));
  EXPECT_FALSE(Exists(third + ".pak"));
}

TEST_F(PackBuilderTest, ToolBuildsFromItsCommandLine) {
  const std::string tool = std::string(ZORBLATS_BINARY_DIR) + "/tools/packbuilder/packbuilder";
  ASSERT_TRUE(Exists(tool)) << "build the packbuilder target first: " << tool;
  WriteFileBytes(Data("six.bmp"), Bmp24(3, 2, kSixColours));
  int status = -1;
  // The source folder without its trailing separator works too.
  RunCommand("'" + tool + "' '" + folder + "data' '" + folder + "data/tool' six.bmp six.bmp 2>&1",
             &status);
  EXPECT_EQ(status, 0);
  ImageSet set;
  ASSERT_TRUE(Load("//data//tool", set));
  ASSERT_EQ(set.Count(), 2);
  ExpectColour(set.GetSurface(1), 2, 1, kSixColours[5]);

  const Bytes said = RunCommand(
      "'" + tool + "' '" + folder + "data/' '" + folder + "data/bad' six.bmp none.bmp 2>&1",
      &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(std::string(said.begin(), said.end()).find("Couldn't load " + folder + "data/none.bmp"),
            std::string::npos);
  EXPECT_FALSE(Exists(Data("bad.pak")));

  RunCommand("'" + tool + "' only-a-folder/ 2>/dev/null", &status);
  EXPECT_EQ(status, 1);
}

}  // namespace
