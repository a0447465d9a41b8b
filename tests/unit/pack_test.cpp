// Image packs: the reader's table layout and its refusal of damaged packs, the catalogue's
// refusal of a short pack, and the builder that turns pictures (15-bit ones from paint programs
// too) into packs the reader shows as they were, compressed or not.
#include "resources/pack.h"

#include <unistd.h>

#include "resources/images.h"
#include "resources/pack_build.h"
#include "tests/support/harness.h"

namespace {

// A table of entries: each the 31-byte header (alpha flag, width, height, pitch, depth 16,
// four masks), then its pixel bytes.
struct Entry {
  int32_t w, h;
  uint16_t pitch;
  uint32_t redMask;
  Bytes pixels;
};
Bytes Table(uint32_t count, const std::vector<Entry>& entries) {
  Bytes out;
  Put(out, count);
  for (const Entry& e : entries) {
    for (uint32_t v : {0u, uint32_t(e.w), uint32_t(e.h)}) Put(out, v);
    Put(out, e.pitch | 16 << 16, 3);
    for (uint32_t mask : {e.redMask, 0x7E0u, 0x1Fu, 0u}) Put(out, mask);
    out.insert(out.end(), e.pixels.begin(), e.pixels.end());
  }
  return out;
}
// 3 x 2 pixels at 16 bits in rows of 8 bytes, the padding 0xEE; every pixel its own colour.
const Bytes kPixels = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE};

class PackTest : public GameTest {
 protected:
  std::string Data(const std::string& name) { return folder + "data/" + name; }
  bool Load(ImageSet& set, const char* name, size_t buffer) {
    return PackFile(PackMode::Read).TryLoad(set, name, buffer, &error);
  }
  int Build(const std::string& output, std::vector<const char*> names) {
    return PackFile(PackMode::Write)
        .Build(output.c_str(), NameList{static_cast<int32_t>(names.size()), names.data()});
  }
  bool Exists(const std::string& name) { return access(Data(name).c_str(), F_OK) == 0; }
  Bytes Gzip(const Bytes& content) {
    WriteFileBytes(Data("z"), content);
    EXPECT_EQ(std::system(("gzip -f " + Data("z")).c_str()), 0);
    return ReadFileBytes(Data("z.gz"));
  }
  std::string error;
};

uint16_t Paint(int x, int y) {
  return static_cast<uint16_t>((x % 32) << 10 | (y % 32) << 5 | (x + y) % 32);
}

// A 16-bit BMP without masks (5-5-5, as paint programs write it), which SDL loads at 15 bits.
void WriteBmp555(const std::string& path, int w, int h) {
  const uint32_t stride = (2 * w + 3) & ~3, size = 54 + stride * h;
  Bytes b{'B', 'M'};  // size, 0, pixel offset, info size, width, height, planes and depth
  for (uint32_t v : {size, 0u, 54u, 40u, uint32_t(w), uint32_t(h), 1u | 16u << 16}) Put(b, v);
  b.resize(54);
  for (int y = h - 1; y >= 0; --y)
    for (uint32_t x = 0; x < stride / 2; ++x) Put(b, Paint(int(x), y), 2);
  WriteFileBytes(path, b);
}

// The pixels of a loaded picture that differ from Paint (at 5 bits a channel), or its size.
int Unpainted(SDL_Surface* s, int w, int h) {
  int wrong = (s->w != w) + (s->h != h);
  for (int i = 0; i < s->w * s->h; ++i) {
    uint8_t r, g, b;
    SDL_GetRGB(ReadPixel(i % s->w, i / s->w, s), s->format, &r, &g, &b);
    wrong += (r >> 3 << 10 | g >> 3 << 5 | b >> 3) != Paint(i % s->w, i / s->w);
  }
  return wrong;
}

TEST_F(PackTest, PacksReadAsTheyWereBuiltAndDamagedOnesAreRefusedNamingTheFault) {
  const Entry good{3, 2, 8, 0xF800, kPixels};
  const Bytes content = Table(2, {good, good}), valid = Gzip(content);
  Bytes badSum = valid, tail = Table(3, {good, good}), cut = content;
  badSum[badSum.size() - 6] ^= 0x5A;
  tail.resize(tail.size() + 10);
  cut.pop_back();
  const std::pair<Bytes, const char*> cases[] = {
      {Bytes(valid.begin(), valid.begin() + valid.size() / 2), "cut short"},
      {badSum, "damaged: incorrect data check"},
      {Gzip({1, 0}), "too short for its image count"},
      {Gzip(Table(0xFFFFFFFFu, {good})),
       "claims 4294967295 images, but its 51 bytes can hold at most 1"},
      {Gzip(tail), "image 2 is cut short in its header at byte 98"},
      {Gzip(cut), "image 1 needs 16 bytes of pixels, but only 15 remain"},
      {Gzip(Table(1, {{1, 0x7FFFFFFF, 0xFFFF, 0xF800, kPixels}})), "needs 140735340806145 bytes"},
      {Gzip(Table(1, {{10, 1, 19, 0xF800, kPixels}})), "rows of 19 bytes, too short for 10"},
      {Gzip(Table(1, {{3, 0, 8, 0xF800, {}}})), "impossible size 3 x 0"},
      {Gzip(Table(1, {{3, 2, 8, 0x7E0, kPixels}})),
       "image 0 (3 x 2, 16 bits, masks 000007E0 000007E0 0000001F"},
      {Gzip(Table(1, {{3, 2000, 8, 0xF800, Bytes(16000)}})),
       "holds more than the 1000 bytes its reader allows"},
  };
  for (const auto& [file, fault] : cases) {
    ImageSet set;
    WriteFileBytes(Data("1.pak"), valid);
    ASSERT_TRUE(Load(set, "\\data\\1", content.size())) << error;  // a buffer of exactly its size
    WriteFileBytes(Data("1.pak"), file);
    EXPECT_FALSE(Load(set, "\\data\\1", 1000)) << fault;
    EXPECT_NE(error.find(fault), std::string::npos) << error;
    EXPECT_EQ(set.Count(), 0) << fault;  // emptied, though it held images before
  }
  ImageSet set;
  WriteFileBytes(Data("1.pak"),
                 Gzip(Table(kImageCount - 1, std::vector<Entry>(kImageCount - 1, good))));
  // The child is forked after the set-up, so this test's tear-down removes the one folder.
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(LoadImages(), testing::ExitedWithCode(1),  // the path with single slashes
              "The image pack .*[^/]/data/1\\.pak holds 40 images; the game needs 41\\.");
  EXPECT_EXIT(
      PackFile(PackMode::Read).Load(set, "\\data\\none", 1000), testing::ExitedWithCode(1),
      "Error: The image pack .*data/none\\.pak cannot be opened: No such file or directory");

  // A built pack reads back as its source pictures, the 15-bit one at two bytes a pixel (the
  // table: 4 + 31 + 24 + 31 + 5 rows of 16 bytes, 14 and the padding), and so does the same
  // table without compression.
  WriteBmp555(Data("painted.bmp"), 7, 5);
  ASSERT_EQ(std::system(("convert -size 3x2 xc:'#ff8000' -alpha set -channel A -evaluate set 50% " +
                         Data("half.png"))
                            .c_str()),
            0);
  ASSERT_EQ(Build(std::string(ExeDir) + "data\\built", {"half.png", "painted.bmp"}), 0);
  EXPECT_FALSE(Exists("built"));  // the uncompressed table is gone
  ASSERT_EQ(std::system(("gzip -dc <" + Data("built.pak") + " >" + Data("plain.pak")).c_str()), 0);
  for (const char* pack : {"\\data\\plain", "\\data\\built"}) {
    EXPECT_FALSE(Load(set, pack, 169)) << pack;
    ASSERT_TRUE(Load(set, pack, 170)) << error;
    EXPECT_EQ(Unpainted(set.GetSurface(1), 7, 5), 0) << pack;
  }
  uint8_t r, g, b, a;  // the picture whose name ends in 'g' keeps its per-pixel alpha
  SDL_GetRGBA(ReadPixel(1, 1, set.GetSurface(0)), set.GetSurface(0)->format, &r, &g, &b, &a);
  for (auto [channel, value] : {std::pair{r, 255}, {g, 128}, {uint8_t(a & 0xFE), 128}})
    EXPECT_EQ(channel, value);

  // A source that cannot be read stops the build: a shifted catalogue would be worse.
  Bytes huge = ReadFileBytes(Data("painted.bmp"));
  std::fill(huge.begin() + 18, huge.begin() + 26, 0x40);  // claims 1077952576 x 1077952576
  WriteFileBytes(Data("huge.bmp"), huge);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Build(Data("stopped"), {"painted.bmp", "huge.bmp", "painted.bmp"}), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.find("Couldn't load " + std::string(DataDir) +
                      "huge.bmp: the picture claims 1077952576 x 1077952576 pixels"),
            0u)
      << said;
  for (const char* left : {"stopped.pak", "stopped"}) EXPECT_FALSE(Exists(left)) << left;
}

}  // namespace
