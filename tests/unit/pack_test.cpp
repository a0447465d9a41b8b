// Reading image packs: the table layout, the conversion into the screen's format, and the
// orderly refusal of packs that are missing, damaged, cut short or too large.
#include "resources/pack.h"

#include "tests/support/resource_kit.h"

namespace {

// One entry: the 31-byte header, then the pixel bytes.
Bytes Entry(uint32_t alpha, int32_t w, int32_t h, uint16_t pitch, uint8_t depth, std::vector<uint32_t> masks,
            const Bytes& pixels) {
  Bytes out;
  for (uint32_t v : {alpha, static_cast<uint32_t>(w), static_cast<uint32_t>(h)}) Put(out, v);
  Put(out, pitch, 2);
  Put(out, depth, 1);
  for (uint32_t m : masks) Put(out, m);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}
Bytes Table(uint32_t count, const std::vector<Bytes>& entries) {
  Bytes out;
  Put(out, count);
  for (const Bytes& e : entries) out.insert(out.end(), e.begin(), e.end());
  return out;
}
const std::vector<uint32_t> k565 = {0xF800, 0x7E0, 0x1F, 0}, k888 = {0xFF0000, 0xFF00, 0xFF, 0},
                            k8888 = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};

// A colour for every pixel of entry i; its row padding is 0xEE, which must never show.
SDL_Color Colour(int i, int x, int y) {
  return {static_cast<uint8_t>(40 * x + 8 + 50 * i), static_cast<uint8_t>(60 * y + 4),
          static_cast<uint8_t>(255 - 30 * x - 20 * y), static_cast<uint8_t>(x == 1 && y == 0 ? 0x80 : 0xFF)};
}
Bytes Pixels(int i, int w, int h, int pitch, int depth) {
  Bytes out(static_cast<size_t>(pitch * h), 0xEE);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const SDL_Color c = Colour(i, x, y);
      const uint32_t v = depth == 16 ? (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3
                                     : static_cast<uint32_t>(c.unused) << 24 | c.r << 16 | c.g << 8 | c.b;
      for (int b = 0; b < depth / 8; ++b) out[y * pitch + x * depth / 8 + b] = static_cast<uint8_t>(v >> (8 * b));
    }
  return out;
}

class PackTest : public GameTest {
 protected:
  std::string Path() { return folder + "data/1.pak"; }
  bool Load(ImageSet& set, size_t buffer, std::string* error, PackMode mode = PackMode::Read) {
    return PackFile(mode).TryLoad(set, "//data//1", buffer, error);
  }
};

TEST_F(PackTest, EntriesFollowEachOtherWithTheirPaddingAndBecomeScreenSurfaces) {
  const Bytes content = Table(3, {Entry(0, 5, 3, 12, 16, k565, Pixels(0, 5, 3, 12, 16)),
                                  Entry(0, 3, 4, 12, 24, k888, Pixels(1, 3, 4, 12, 24)),
                                  Entry(1, 2, 2, 8, 32, k8888, Pixels(2, 2, 2, 8, 32))});
  WriteFileBytes(Path(), Gzip(content));
  ImageSet set;
  std::string error;
  ASSERT_TRUE(Load(set, content.size(), &error)) << error;  // a buffer of exactly its size
  ASSERT_EQ(set.Count(), 3);
  const int sizes[] = {53, 34, 22};  // width * 10 + height
  for (int i = 0; i < 3; ++i) {
    SDL_Surface* s = set.GetSurface(i);
    ASSERT_EQ(s->w * 10 + s->h, sizes[i]);
    EXPECT_EQ(s->format->BitsPerPixel, i < 2 ? 16 : 32);  // the screen's format, or with alpha
    for (int y = 0; y < s->h; ++y)
      for (int x = 0; x < s->w; ++x) {
        SDL_Color got{}, want = Colour(i, x, y);
        SDL_GetRGBA(ReadPixel(x, y, s), s->format, &got.r, &got.g, &got.b, &got.unused);
        if (i < 2) SDL_GetRGB(SDL_MapRGB(s->format, want.r, want.g, want.b), s->format, &want.r, &want.g, &want.b);
        EXPECT_EQ(got.r << 24 | got.g << 16 | got.b << 8 | got.unused,
                  want.r << 24 | want.g << 16 | want.b << 8 | (i < 2 ? 0xFF : want.unused))
            << i << " at " << x << "," << y;
      }
  }
  EXPECT_TRUE(set.GetSurface(2)->flags & SDL_SRCALPHA);
  EXPECT_EQ(set.GetSurface(3), nullptr);
  // A pack object made for writing, or for neither, reads nothing; an empty table is empty.
  ASSERT_TRUE(Load(set, 100, &error, PackMode::Write));
  ASSERT_TRUE(Load(set, 100, &error, static_cast<PackMode>(7)));
  EXPECT_EQ(set.Count(), 3);
  WriteFileBytes(Path(), Gzip(Table(0, {})));
  ASSERT_TRUE(Load(set, 100, &error)) << error;
  EXPECT_EQ(set.Count(), 0);
}

TEST_F(PackTest, DamagedPacksAreRefusedNamingTheFileAndTheFault) {
  const Bytes good = Entry(0, 3, 2, 6, 16, k565, Pixels(0, 3, 2, 6, 16));
  const Bytes valid = Gzip(Table(2, {good, good}));
  Bytes badSum = valid, junk(valid.begin(), valid.begin() + 10), tail = Table(3, {good, good}), cut = Table(2, {good, good});
  badSum[badSum.size() - 6] ^= 0x5A;
  for (int i = 0; i < 900; ++i) junk.push_back(static_cast<uint8_t>(i * i * 31 ^ i));  // a header, then junk
  tail.resize(tail.size() + 10);
  cut.pop_back();
  const struct {
    Bytes file;
    size_t buffer;
    const char* fault;
  } cases[] = {
      {Bytes(valid.begin(), valid.begin() + valid.size() / 2), 1000, "cut short"},
      {badSum, 1000, "damaged: incorrect data check"},
      {junk, 1000, "is damaged"},
      {Gzip({1, 0}), 1000, "too short for its image count"},
      {Gzip(Table(0xFFFFFFFFu, {good})), 1000, "claims 4294967295 images, but its 47 bytes can hold at most 1"},
      {Gzip(tail), 1000, "image 2 is cut short in its header at byte 90"},
      {Gzip(cut), 1000, "image 1 needs 12 bytes of pixels, but only 11 remain"},
      {Gzip(Table(1, {Entry(0, 1, 0x7FFFFFFF, 0xFFFF, 8, k565, Bytes(8))})), 1000, "needs 140735340806145 bytes"},
      {Gzip(Table(1, {Entry(0, 10, 1, 19, 16, k565, Bytes(19))})), 1000, "rows of 19 bytes, too short for 10"},
      {Gzip(Table(1, {Entry(0, -3, 2, 6, 16, k565, Bytes(12))})), 1000, "impossible size -3 x 2"},
      {Gzip(Table(1, {Entry(0, 3, 0, 6, 16, k565, {})})), 1000, "impossible size 3 x 0"},
      {Gzip(Table(1, {Entry(0, 2, 1, 4, 16, {0xF000, 0xF000, 0xF, 0}, Bytes(4))})), 1000,
       "image 0 (2 x 1, 16 bits, masks 0000F000 0000F000 0000000F 00000000) cannot be made"},
      {valid, 4 + 2 * 43 - 1, "holds more than the 89 bytes its reader allows"},
      {{}, 1000, ""},
  };
  for (const auto& c : cases) {
    ImageSet set;
    std::string error;
    WriteFileBytes(Path(), valid);
    ASSERT_TRUE(Load(set, 1000, &error)) << error;
    WriteFileBytes(Path(), c.file);
    EXPECT_FALSE(Load(set, c.buffer, &error)) << c.fault;
    EXPECT_NE(error.find("the image pack " + Path()), std::string::npos) << error;
    EXPECT_NE(error.find(c.fault), std::string::npos) << error;
    EXPECT_EQ(set.Count(), 0) << c.fault;  // emptied, though it held images before
  }
  ImageSet set;
  std::string error;
  EXPECT_FALSE(PackFile(PackMode::Read).TryLoad(set, "//data//none", 1000, &error));
  EXPECT_EQ(error, "the image pack " + folder + "data/none.pak cannot be opened: No such file or directory");
  EXPECT_FALSE(PackFile(PackMode::Read).TryLoad(set, ("/" + std::string(300, 'x')).c_str(), 1000, &error));
  EXPECT_NE(error.find("longer than 259 bytes"), std::string::npos) << error;
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(PackFile(PackMode::Read).Load(set, "\\data\\none", 1000), testing::ExitedWithCode(1),
              "Error: The image pack .*data/none\\.pak cannot be opened");
}

}  // namespace
