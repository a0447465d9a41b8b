// Reading image packs: the table layout, the conversion to the screen's format, and the
// orderly refusal of packs that are missing, damaged, cut short or too large.
#include "resources/pack.h"

#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "resources/draw.h"
#include "tests/support/harness.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct Header {
  uint32_t alpha = 0;
  int32_t width = 0, height = 0;
  uint16_t pitch = 0;
  uint8_t depth = 0;
  uint32_t r = 0, g = 0, b = 0, a = 0;
};

// One entry: the 31-byte header and the given pixel bytes, as the pack stores them.
Bytes Entry(const Header& h, const Bytes& pixels) {
  Bytes out;
  Put32(out, h.alpha);
  Put32(out, static_cast<uint32_t>(h.width));
  Put32(out, static_cast<uint32_t>(h.height));
  out.push_back(static_cast<uint8_t>(h.pitch));
  out.push_back(static_cast<uint8_t>(h.pitch >> 8));
  out.push_back(h.depth);
  Put32(out, h.r);
  Put32(out, h.g);
  Put32(out, h.b);
  Put32(out, h.a);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

// A content table: the count, then the entries back to back.
Bytes Table(uint32_t count, const std::vector<Bytes>& entries) {
  Bytes out;
  Put32(out, count);
  for (const Bytes& e : entries) out.insert(out.end(), e.begin(), e.end());
  return out;
}

struct Colour {
  uint8_t r, g, b, a = 255;
};

// Pixels of a surface layout: each row `pitch` bytes, padding filled with 0xEE so that a
// reader that takes padding for pixels shows wrong colours.
Bytes Pixels(int width, int height, int pitch, int depth,
             const std::function<Colour(int, int)>& at) {
  Bytes out(static_cast<size_t>(pitch) * height, 0xEE);
  const int bpp = depth / 8;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Colour c = at(x, y);
      uint32_t v = 0;
      if (depth == 16) v = (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3;
      if (depth == 24 || depth == 32)
        v = static_cast<uint32_t>(c.a) << 24 | c.r << 16 | c.g << 8 | c.b;
      for (int i = 0; i < bpp; ++i)
        out[y * pitch + x * bpp + i] = static_cast<uint8_t>(v >> (8 * i));
    }
  }
  return out;
}

Header Rgb565Header(int w, int h, int pitch) {
  return {0, w, h, static_cast<uint16_t>(pitch), 16, 0xF800, 0x07E0, 0x001F, 0};
}
Header Bgr24Header(int w, int h, int pitch) {
  return {0, w, h, static_cast<uint16_t>(pitch), 24, 0xFF0000, 0xFF00, 0xFF, 0};
}
Header Argb32Header(uint32_t alpha, int w, int h) {
  return {alpha, w, h, static_cast<uint16_t>(w * 4), 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
}

// A colour that differs at every pixel and in every channel.
Colour Pattern(int x, int y) {
  return {static_cast<uint8_t>(40 * x + 8), static_cast<uint8_t>(60 * y + 4),
          static_cast<uint8_t>(255 - 30 * x - 20 * y)};
}

Bytes Gzip(const Bytes& content) {
  char name[] = "/tmp/zorblats-gz-XXXXXX";
  const int fd = mkstemp(name);
  close(fd);
  gzFile out = gzopen(name, "wb6");
  gzwrite(out, content.data(), static_cast<unsigned>(content.size()));
  gzclose(out);
  Bytes bytes = ReadFileBytes(name);
  unlink(name);
  return bytes;
}

class PackTest : public GameTest {
 protected:
  std::string PackPath(const std::string& name) { return folder + "data/" + name + ".pak"; }
  void WritePack(const std::string& name, const Bytes& content) {
    WriteFileBytes(PackPath(name), Gzip(content));
  }
  // The colour the screen's format keeps of an exact colour.
  Colour OnScreen(Colour c) {
    Colour kept{};
    SDL_GetRGB(SDL_MapRGB(ScreenSurface->format, c.r, c.g, c.b), ScreenSurface->format, &kept.r,
               &kept.g, &kept.b);
    return kept;
  }
  static Colour ColourAt(SDL_Surface* s, int x, int y) {
    Colour c{};
    SDL_GetRGBA(ReadPixel(x, y, s), s->format, &c.r, &c.g, &c.b, &c.a);
    return c;
  }
  void ExpectPattern(SDL_Surface* s, int width, int height) {
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->w, width);
    ASSERT_EQ(s->h, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Colour want = OnScreen(Pattern(x, y));
        const Colour got = ColourAt(s, x, y);
        EXPECT_EQ(got.r, want.r) << "at " << x << "," << y;
        EXPECT_EQ(got.g, want.g) << "at " << x << "," << y;
        EXPECT_EQ(got.b, want.b) << "at " << x << "," << y;
      }
    }
  }
};

TEST_F(PackTest, EntriesFollowEachOtherWithTheirPaddingAndKeepTheirColours) {
  // A padded 16-bit entry, a padded 24-bit entry and a 32-bit entry, back to back: any
  // mistake in a field size or in skipping the padding shifts everything after it.
  const Bytes content = Table(3, {Entry(Rgb565Header(5, 3, 12), Pixels(5, 3, 12, 16, Pattern)),
                                  Entry(Bgr24Header(3, 4, 12), Pixels(3, 4, 12, 24, Pattern)),
                                  Entry(Argb32Header(0, 2, 2), Pixels(2, 2, 8, 32, Pattern))});
  WritePack("1", content);

  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  ASSERT_TRUE(pack.TryLoad(set, "//data//1", 2000000, &error)) << error;
  ASSERT_EQ(set.Count(), 3);
  ExpectPattern(set.GetSurface(0), 5, 3);
  ExpectPattern(set.GetSurface(1), 3, 4);
  ExpectPattern(set.GetSurface(2), 2, 2);
  for (int i = 0; i < 3; ++i) {
    // Converted once into the screen's own format, opaque.
    SDL_PixelFormat* f = set.GetSurface(i)->format;
    EXPECT_EQ(f->BitsPerPixel, ScreenSurface->format->BitsPerPixel);
    EXPECT_EQ(f->Rmask, ScreenSurface->format->Rmask);
    EXPECT_EQ(f->Bmask, ScreenSurface->format->Bmask);
    EXPECT_EQ(f->Amask, 0u);
    EXPECT_EQ(f->alpha, 255);
  }
  EXPECT_EQ(set.GetSurface(3), nullptr);
  EXPECT_EQ(set.GetSurface(-1), nullptr);
  set.FreeAll();
  EXPECT_EQ(set.Count(), 0);
}

TEST_F(PackTest, StartScreenPackFitsItsBufferToTheByte) {
  // 240 x 320 at 16 bits with pitch 480: 4 + 31 + 153600 bytes of content.
  const Bytes content =
      Table(1, {Entry(Rgb565Header(240, 320, 480), Pixels(240, 320, 480, 16, Pattern))});
  ASSERT_EQ(content.size(), 153635u);
  WritePack("0", content);

  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  ASSERT_TRUE(pack.TryLoad(set, "\\data\\0", 200000, &error)) << error;
  ASSERT_EQ(set.Count(), 1);
  ExpectPattern(set.GetSurface(0), 240, 320);

  ASSERT_TRUE(pack.TryLoad(set, "\\data\\0", content.size(), &error)) << error;
  EXPECT_EQ(set.Count(), 1);
  // One byte less and the content no longer fits: refused, not cut.
  EXPECT_FALSE(pack.TryLoad(set, "\\data\\0", content.size() - 1, &error));
  EXPECT_NE(error.find(PackPath("0")), std::string::npos) << error;
  EXPECT_NE(error.find("more than the 153634 bytes"), std::string::npos) << error;
  EXPECT_EQ(set.Count(), 0);
}

TEST_F(PackTest, AlphaFlagKeepsPerPixelAlpha) {
  auto halfSeen = [](int x, int y) {
    return Colour{200, 100, 50, static_cast<uint8_t>(x == 1 && y == 0 ? 0x80 : 0xFF)};
  };
  const Bytes pixels = Pixels(2, 2, 8, 32, halfSeen);
  WritePack("1",
            Table(2, {Entry(Argb32Header(1, 2, 2), pixels), Entry(Argb32Header(0, 2, 2), pixels)}));

  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  ASSERT_TRUE(pack.TryLoad(set, "//data//1", 1000, &error)) << error;
  ASSERT_EQ(set.Count(), 2);
  SDL_Surface* withAlpha = set.GetSurface(0);
  EXPECT_TRUE(withAlpha->flags & SDL_SRCALPHA);
  EXPECT_NE(withAlpha->format->Amask, 0u);
  EXPECT_EQ(ColourAt(withAlpha, 1, 0).a, 0x80);
  EXPECT_EQ(ColourAt(withAlpha, 0, 0).a, 0xFF);
  EXPECT_EQ(ColourAt(withAlpha, 1, 0).r, 200);

  SDL_Surface* plain = set.GetSurface(1);
  // The screen's format has no alpha channel: the half-seen pixel is drawn solid.
  EXPECT_EQ(plain->format->BitsPerPixel, ScreenSurface->format->BitsPerPixel);
  EXPECT_EQ(plain->format->Amask, 0u);
  SDL_FillRect(ScreenSurface, nullptr, 0);
  BlitImage(plain, 0, 0);
  const Colour drawn = ColourAt(ScreenSurface, 1, 0);
  EXPECT_EQ(drawn.r, OnScreen({200, 100, 50}).r);
  EXPECT_EQ(drawn.g, OnScreen({200, 100, 50}).g);
}

TEST_F(PackTest, EmptyTableAndWriteModeGiveAnEmptySet) {
  WritePack("1", Table(0, {}));
  ImageSet set;
  std::string error;
  PackFile reader(PackMode::Read);
  ASSERT_TRUE(reader.TryLoad(set, "//data//1", 100, &error)) << error;
  EXPECT_EQ(set.Count(), 0);

  WritePack("1", Table(1, {Entry(Rgb565Header(1, 1, 2), Pixels(1, 1, 2, 16, Pattern))}));
  PackFile writer(PackMode::Write);
  EXPECT_TRUE(writer.TryLoad(set, "//data//1", 100, &error));
  writer.Load(set, "//data//1", 100);
  EXPECT_EQ(set.Count(), 0);
  PackFile neither(static_cast<PackMode>(7));
  neither.Load(set, "//data//1", 100);
  EXPECT_EQ(set.Count(), 0);
  ASSERT_TRUE(reader.TryLoad(set, "//data//1", 100, &error)) << error;
  EXPECT_EQ(set.Count(), 1);
}

TEST_F(PackTest, EightBitEntriesLoadWithoutAPalette) {
  const Bytes pixels = {1, 2, 3, 0, 4, 5, 6, 0};
  WritePack("1", Table(1, {Entry({0, 3, 2, 4, 8, 0, 0, 0, 0}, pixels)}));
  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  ASSERT_TRUE(pack.TryLoad(set, "//data//1", 100, &error)) << error;
  ASSERT_EQ(set.Count(), 1);
  EXPECT_EQ(set.GetSurface(0)->w, 3);
  EXPECT_EQ(set.GetSurface(0)->h, 2);
}

struct BadPack {
  const char* what;
  std::function<Bytes()> file;  // the bytes of the .pak file
  size_t buffer;
  const char* reason;  // must appear in the message
};

TEST_F(PackTest, DamagedPacksAreRefusedWithTheFileAndTheReason) {
  const Bytes good = Entry(Rgb565Header(3, 2, 6), Pixels(3, 2, 6, 16, Pattern));
  auto gz = [](Bytes content) { return [content] { return Gzip(content); }; };
  auto withHeader = [](Header h, size_t pixelBytes) { return Entry(h, Bytes(pixelBytes, 0x55)); };
  const Bytes valid = Gzip(Table(2, {good, good}));

  const std::vector<BadPack> cases = {
      {"truncated stream", [&] { return Bytes(valid.begin(), valid.begin() + valid.size() / 2); },
       1000, "cut short"},
      {"wrong check sum",
       [&] {
         Bytes b = valid;
         b[b.size() - 6] ^= 0x5A;
         return b;
       },
       1000, "damaged: incorrect data check"},
      {"too short for the count", gz({1, 0}), 1000, "too short for its image count"},
      {"absurd count", gz(Table(0xFFFFFFFFu, {good})), 1000, "claims 4294967295 images"},
      {"count beyond the entries", gz([&] {
         Bytes t = Table(3, {good, good});
         t.resize(t.size() + 10, 0);
         return t;
       }()),
       1000, "image 2 is cut short in its header"},
      {"pixels cut short", gz([&] {
         Bytes t = Table(2, {good, good});
         t.resize(t.size() - 1);
         return t;
       }()),
       1000, "image 1 needs 12 bytes of pixels, but only 11 remain"},
      {"pitch times height overflows", gz(Table(1, {withHeader({0, 1, 0x7FFFFFFF, 0xFFFF, 8}, 8)})),
       1000, "needs 140735340806145 bytes of pixels"},
      {"pitch shorter than a row", gz(Table(1, {withHeader(Rgb565Header(10, 1, 19), 19)})), 1000,
       "rows of 19 bytes"},
      {"odd depth", gz(Table(1, {withHeader({0, 2, 1, 4, 33, 0xF00, 0xF0, 0xF, 0}, 4)})), 1000,
       "depth of 33 bits"},
      {"negative width", gz(Table(1, {withHeader({0, -3, 2, 6, 16, 0xF800, 0x7E0, 0x1F, 0}, 12)})),
       1000, "impossible size -3 x 2"},
      {"masks SDL refuses", gz(Table(1, {withHeader({0, 2, 1, 4, 16, 0xF000, 0xF000, 0xF, 0}, 4)})),
       1000, "image 0 (2 x 1, 16 bits, masks 0000F000 0000F000 0000000F 00000000) cannot be made"},
      {"larger than the buffer", gz(Table(2, {good, good})), 4 + 2 * 43 - 1,
       "more than the 89 bytes"},
  };
  for (const BadPack& bad : cases) {
    SCOPED_TRACE(bad.what);
    WriteFileBytes(PackPath("1"), bad.file());
    PackFile pack(PackMode::Read);
    ImageSet set;
    std::string error;
    EXPECT_FALSE(pack.TryLoad(set, "//data//1", bad.buffer, &error));
    EXPECT_NE(error.find(PackPath("1")), std::string::npos) << error;
    EXPECT_NE(error.find(bad.reason), std::string::npos) << error;
    EXPECT_EQ(set.Count(), 0);
  }

  // A missing pack and a path beyond the game's limit are refused the same way.
  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  EXPECT_FALSE(pack.TryLoad(set, "//data//none", 1000, &error));
  EXPECT_NE(error.find(PackPath("none") + " cannot be opened: No such file or directory"),
            std::string::npos)
      << error;
  EXPECT_FALSE(pack.TryLoad(set, ("//data//" + std::string(300, 'x')).c_str(), 1000, &error));
  EXPECT_NE(error.find("longer than 259 bytes"), std::string::npos) << error;
}

TEST_F(PackTest, AFailedLoadEmptiesASetThatHeldImages) {
  const Bytes good = Entry(Rgb565Header(3, 2, 6), Pixels(3, 2, 6, 16, Pattern));
  WritePack("1", Table(2, {good, good}));
  PackFile pack(PackMode::Read);
  ImageSet set;
  std::string error;
  ASSERT_TRUE(pack.TryLoad(set, "//data//1", 1000, &error)) << error;
  ASSERT_EQ(set.Count(), 2);
  // The second entry fails only after the first has been made.
  WritePack("1", Table(2, {good, Entry({0, 3, 2, 6, 33, 0, 0, 0, 0}, Bytes(12, 0))}));
  EXPECT_FALSE(pack.TryLoad(set, "//data//1", 1000, &error));
  EXPECT_NE(error.find("image 1 has a depth of 33"), std::string::npos) << error;
  EXPECT_EQ(set.Count(), 0);
  EXPECT_EQ(set.GetSurface(0), nullptr);
}

TEST_F(PackTest, LoadStopsTheGameWithAMessageNamingThePack) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  WriteFileBytes(PackPath("1"), Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'a', 'c', 'k'});
  PackFile pack(PackMode::Read);
  ImageSet set;
  EXPECT_EXIT(pack.Load(set, "//data//1", 1000), testing::ExitedWithCode(1),
              "Error: The image pack .*data/1\\.pak is damaged: the content claims");
  EXPECT_EXIT(pack.Load(set, "\\data\\0", 1000), testing::ExitedWithCode(1),
              "Error: The image pack .*data/0\\.pak cannot be opened");
}

}  // namespace
