// The pack builder: pictures in, a pack out that the game's reader shows as they were; its
// refusal of sources it cannot read; its compressor's options and errors; the tool itself.
#include <sys/stat.h>

#include "resources/pack.h"
#include "tests/support/resource_kit.h"

namespace {

class PackBuilderTest : public GameTest {
 protected:
  std::string Data(const std::string& name) { return folder + "data/" + name; }
  int Build(const std::string& output, std::vector<const char*> names, PackMode mode = PackMode::Write) {
    return PackFile(mode).Build(output.c_str(), NameList{static_cast<int32_t>(names.size()), names.data()});
  }
  bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }
};

TEST_F(PackBuilderTest, BuiltPacksReadBackAsTheSourcePictures) {
  SDL_Surface* painted = Painted(7, 5, 0x2345);  // rows of 21 bytes padded to 24 in the BMP
  SDL_Surface* paletted = SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 3, 8, 0, 0, 0, 0);
  owned.insert(owned.end(), {painted, paletted});
  SDL_Color colours[3] = {{255, 0, 0, 0}, {0, 255, 255, 0}, {0, 0, 255, 0}};
  SDL_SetColors(paletted, colours, 0, 3);
  for (int y = 0; y < 3; ++y) std::memset(static_cast<uint8_t*>(paletted->pixels) + y * paletted->pitch, y, 5);
  ASSERT_EQ(SDL_SaveBMP(painted, Data("painted.bmp").c_str()), 0);
  ASSERT_EQ(SDL_SaveBMP(paletted, Data("paletted.bmp").c_str()), 0);
  ASSERT_EQ(Shell("convert -size 3x2 xc:'#ff8000' -alpha set -channel A -evaluate set 50% '" + Data("half.png") + "'"), 0);
  ASSERT_EQ(Build(std::string(ExeDir) + "data\\built", {"painted.bmp", "paletted.bmp", "half.png"}), 0);
  EXPECT_FALSE(Exists(Data("built")));  // the uncompressed table is gone

  ImageSet set;
  std::string error;
  ASSERT_TRUE(PackFile(PackMode::Read).TryLoad(set, "//data//built", 2000000, &error)) << error;
  ASSERT_EQ(set.Count(), 3);
  for (int i : {0, 1}) {
    SDL_Surface *got = set.GetSurface(i), *want = i ? paletted : painted;
    ASSERT_EQ(got->w * 10 + got->h, want->w * 10 + want->h);
    for (int y = 0; y < got->h; ++y)
      for (int x = 0; x < got->w; ++x) {
        uint8_t r, g, b, wr, wg, wb;
        SDL_GetRGB(ReadPixel(x, y, got), got->format, &r, &g, &b);
        SDL_GetRGB(ReadPixel(x, y, want), want->format, &wr, &wg, &wb);
        ASSERT_EQ(r << 16 | g << 8 | b, wr << 16 | wg << 8 | wb) << i << " at " << x << "," << y;
      }
  }
  // The picture whose name ends in 'g' keeps its per-pixel alpha.
  uint8_t r, g, b, a;
  SDL_GetRGBA(ReadPixel(1, 1, set.GetSurface(2)), set.GetSurface(2)->format, &r, &g, &b, &a);
  EXPECT_EQ(r << 8 | g, 0xFF80);
  EXPECT_NEAR(a, 128, 1);

  // An empty list gives a zero count; only a pack made for writing builds.
  ASSERT_EQ(Build(Data("empty"), {}), 0);
  std::string table;
  ASSERT_EQ(Shell("gzip -dc '" + Data("empty.pak") + "' | od -An -tx1", &table), 0);
  EXPECT_EQ(table, " 00 00 00 00\n");
  ASSERT_TRUE(PackFile(PackMode::Read).TryLoad(set, "\\data\\empty", 100, &error)) << error;
  EXPECT_EQ(set.Count(), 0);
  EXPECT_EQ(Build(Data("never"), {"painted.bmp"}, PackMode::Read), 0);
  EXPECT_FALSE(Exists(Data("never.pak")) || Exists(Data("never")));
}

TEST_F(PackBuilderTest, ASourceThatCannotBeReadStopsTheBuildWithItsName) {
  SDL_Surface* one = Painted(1, 1);
  owned.push_back(one);
  ASSERT_EQ(SDL_SaveBMP(one, Data("a.bmp").c_str()), 0);
  WriteFileBytes(Data("broken.bmp"), {'B', 'M', 1, 2, 3});
  Bytes huge = {'B', 'M'};  // a header that claims 30000 x 30000 pixels of 32 bits
  for (uint32_t v : {118u, 0u, 54u, 40u, 30000u, 30000u, 1u | 32u << 16, 0u, 0u, 0u, 0u, 0u, 0u}) Put(huge, v);
  huge.resize(118);
  WriteFileBytes(Data("huge.bmp"), huge);
  for (std::string bad : {"missing.bmp", "broken.bmp", "missing.png", "huge.bmp"}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Build(Data("stopped"), {"a.bmp", bad.c_str(), "a.bmp"}), 1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("Couldn't load " + std::string(DataDir) + bad + ": "), 0u) << said;
    EXPECT_FALSE(Exists(Data("stopped.pak")) || Exists(Data("stopped")));
  }
}

TEST_F(PackBuilderTest, CompressorTakesLevelAndStrategyOptionsUntilTheFirstName) {
  const struct {
    std::vector<const char*> options;
    uint8_t extraFlags;  // the gzip header's: 2 for level 9, 4 for level 1 or Huffman only
    bool huffmanOnly;    // no repeats found: at least a bit per byte
  } cases[] = {{{}, 0, false},           {{"-9"}, 2, false},       {{"-1"}, 4, false},
               {{"-9", "-1"}, 4, false}, {{"-h"}, 4, true},        {{"-f", "-h"}, 4, true},
               {{"-h", "-f"}, 0, false}, {{"-1", "-h", "-f"}, 4, false}};
  const std::string input = Data("zeros");
  for (const auto& c : cases) {
    WriteFileBytes(input, Bytes(100000, 0));
    std::vector<const char*> argv = {"name"};
    argv.insert(argv.end(), c.options.begin(), c.options.end());
    argv.push_back(input.c_str());
    ASSERT_EQ(PackCompressor(static_cast<int>(argv.size()), argv.data()), 0);
    EXPECT_FALSE(Exists(input));
    const Bytes pack = ReadFileBytes(input + ".pak");
    EXPECT_EQ(pack.at(8), c.extraFlags) << argv.size();
    EXPECT_EQ(pack.size() > 12500, c.huffmanOnly) << pack.size();
    EXPECT_EQ(Shell("gzip -dc '" + input + ".pak' | cmp -s - /dev/zero -n 100000"), 0);
  }
  // "-x" and "-10" are file names; the first that cannot be opened stops the rest.
  WriteFileBytes(Data("first"), Bytes(10, 1));
  WriteFileBytes(Data("third"), Bytes(10, 3));
  const std::string first = Data("first"), third = Data("third");
  const char* argv[] = {"name", "-10", first.c_str(), "-x", third.c_str()};
  testing::internal::CaptureStdout();
  EXPECT_EQ(PackCompressor(5, argv), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "-10: No such file or directory\n");
  argv[1] = "-5";
  testing::internal::CaptureStdout();
  EXPECT_EQ(PackCompressor(5, argv), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "-x: No such file or directory\n");
  EXPECT_TRUE(Exists(first + ".pak") && Exists(third) && !Exists(third + ".pak"));
}

TEST_F(PackBuilderTest, ToolBuildsFromItsCommandLine) {
  const std::string tool = std::string(ZORBLATS_BINARY_DIR) + "/tools/packbuilder/packbuilder '";
  SDL_Surface* painted = Painted(3, 2);
  owned.push_back(painted);
  ASSERT_EQ(SDL_SaveBMP(painted, Data("p.bmp").c_str()), 0);
  EXPECT_EQ(Shell(tool + folder + "data' '" + Data("tool") + "' p.bmp p.bmp"), 0);  // no trailing '/'
  ImageSet set;
  std::string error;
  ASSERT_TRUE(PackFile(PackMode::Read).TryLoad(set, "/data/tool", 1000, &error)) << error;
  EXPECT_EQ(set.Count(), 2);
  std::string said;
  EXPECT_EQ(Shell(tool + folder + "data/' '" + Data("bad") + "' p.bmp none.bmp 2>&1", &said), 1);
  EXPECT_NE(said.find("Couldn't load " + Data("none.bmp")), std::string::npos) << said;
  EXPECT_EQ(Shell(tool + "only-a-folder/' 2>/dev/null"), 1);
}

}  // namespace
