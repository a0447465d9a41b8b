// What players who keep their files in odd places or repaint the game meet: saves next to
// read-only files and folders, links and stray temporary files; 15-bit pictures through the
// pack builder and the reader; packs without compression; the name entry's table row.
#include <unistd.h>

#include "frontend/name_entry.h"
#include "platform/paths.h"
#include "resources/draw.h"
#include "resources/pack.h"
#include "settings/settings.h"
#include "tests/support/harness.h"

namespace {

using Bytes = std::vector<uint8_t>;
using SavesAndPacks = GameTest;

TEST_F(SavesAndPacks, SavesFollowTheFileThroughOddFoldersLinksAndStrayFiles) {
  Bytes now(kSettingsFileSize);
  Settings = SettingsRecord{};
  EncodeSettings(Settings, now.data());
  // Shell commands in a data folder that holds an old zorblats.set; the file the saves land
  // in; whether "error in settings file" shows at each of two saves and that file stays.
  struct Case { const char *make, *holder; bool box; };
  const Case cases[] = {
      {"chmod 444 zorblats.set", "zorblats.set", true},
      {"chmod 555 .", "zorblats.set", false},
      {"rm zorblats.set && chmod 555 .", "zorblats.set", true},
      {"mkdir away && mv zorblats.set away/real.set && ln -s away/real.set zorblats.set", "away/real.set", false},
      {"mkdir zorblats.tmp", "zorblats.set", false},
      {"touch zorblats.tmp && chmod 444 zorblats.tmp", "zorblats.set", false},
      {"touch v && chmod 444 v && ln -s v zorblats.tmp", "zorblats.set", false},
  };
  const bool root = geteuid() == 0;  // root writes through any mode bits: the saves run as nobody
  for (const Case& c : cases) {
    SCOPED_TRACE(c.make);
    const std::string d = folder + std::to_string(&c - cases) + "/";
    ASSERT_EQ(std::system(("mkdir " + d + " && cd " + d + " && echo old > zorblats.set && " + c.make + (root ? " && chown -R 65534 .." : "")).c_str()), 0);
    std::snprintf(DataDir, sizeof DataDir, "%s", d.c_str());
    const Bytes was = ReadFileBytes(d + c.holder);
    boxes.shown.clear();
    ASSERT_EQ(root ? seteuid(65534) : 0, 0);
    for (int save = 0; save < 2; ++save) SaveSettings();
    ASSERT_EQ(root ? seteuid(0) : 0, 0);
    EXPECT_EQ(boxes.shown.size(), c.box ? 2u : 0u);
    EXPECT_EQ(ReadFileBytes(d + c.holder), c.box ? was : now);
  }
}

uint16_t Paint(int x, int y) { return static_cast<uint16_t>((x % 32) << 10 | (y % 32) << 5 | (x + y) % 32); }

// A 16-bit BMP without masks (5-5-5, as paint programs write it), which SDL loads at 15 bits.
void WriteBmp555(const std::string& path, int w, int h) {
  const int stride = (2 * w + 3) & ~3;
  Bytes b(54 + stride * h, 0);
  const auto put = [&](size_t at, uint32_t v, int n) { for (int i = 0; i < n; ++i) b[at + i] = static_cast<uint8_t>(v >> 8 * i); };
  b[0] = 'B', b[1] = 'M', put(2, b.size(), 4), put(10, 54, 4), put(14, 40, 4), put(18, w, 4), put(22, h, 4), put(26, 1, 2), put(28, 16, 2);
  for (int i = 0; i < w * h; ++i) put(54 + (h - 1 - i / w) * stride + i % w * 2, Paint(i % w, i / w), 2);
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

TEST_F(SavesAndPacks, FifteenBitPicturesKeepTheirDepthAndPlainPacksLoad) {
  // A 240 x 320 start screen at 15 bits fills 153635 bytes of table, as at 16 bits.
  struct Case { const char *source, *output, *pack; int w, h; size_t buffer; };
  ImageSet set;
  std::string error;
  for (const Case& c : {Case{"start_screen.bmp", "data/0", "\\data\\0", 240, 320, 153635},
                        Case{"ship.bmp", "data/1", "//data//1", 7, 3, 2000000}}) {
    WriteBmp555(folder + "data/" + c.source, c.w, c.h);
    ASSERT_EQ(PackFile(PackMode::Write).Build((folder + c.output).c_str(), NameList{1, &c.source}), 0);
    ASSERT_TRUE(PackFile(PackMode::Read).TryLoad(set, c.pack, c.buffer, &error)) << error;
    EXPECT_EQ(Unpainted(set.GetSurface(0), c.w, c.h), 0);
  }
  // The same table without compression loads alike, within the same buffer limit.
  ASSERT_EQ(std::system(("cd '" + folder + "data' && gzip -dc < 0.pak > 2.pak").c_str()), 0);
  EXPECT_FALSE(PackFile(PackMode::Read).TryLoad(set, "\\data\\2", 153634, &error));
  EXPECT_TRUE(PackFile(PackMode::Read).TryLoad(set, "\\data\\2", 153635, &error)) << error;
}

// Leaves the name entry at its first look at the queue, noting the row it edits then.
struct QuittingHost final : HostInput {
  void Delay(uint32_t) override {}
  uint32_t Ticks() override { return 0; }
  int PollEvent(SDL_Event* event) override { return seen = Settings.highScoreNames[2], event->type = SDL_QUIT, 1; }
  int WaitEvent(SDL_Event* event) override { return PollEvent(event); }
  const uint8_t* KeyState() override { static const uint8_t keys[SDLK_LAST] = {}; return keys; }
  std::string seen;
};

TEST_F(SavesAndPacks, TheNewRowKeepsItsOldNameUntilTheTypedOneIsStored) {
  InstallSyntheticImages();
  QuittingHost quitting;
  UseHostInput(&quitting);
  Settings = SettingsRecord{};
  for (int i = 0; i < 5; ++i) Settings.highScoreNames[i][0] = static_cast<char>('A' + i), Settings.highScores[i] = 500 - 100 * i;
  EnterHighScore(350);
  EXPECT_EQ(quitting.seen, "C");
}

}  // namespace
