// What the game does with files a player has truncated, edited by hand, filled with junk or
// replaced, and with saves cut off by a killed process or a folder that takes no writes:
// a clear message or a sensible default, never a crash, a hang or a lost high-score table.
#include <SDL/SDL_mixer.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/driver.h"
#include "frontend/high_scores.h"
#include "frontend/menu.h"
#include "settings/settings.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "resources/bitmap_file.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "resources/pack.h"
#include "tests/support/harness.h"
#include "text/textbox.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

void PutLe(Bytes& b, size_t at, uint32_t v, size_t size) {
  for (size_t i = 0; i < size; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The settings file a first start saves, built from the file layout.
Bytes DefaultSettingsFile() {
  Bytes b(kSettingsFileSize, 0);
  b[176] = 1;
  b[177] = 1;
  b[178] = 35;
  std::memcpy(&b[180], "Brask", 5);
  return b;
}

// What the next save must write after loading `file`: its bytes as far as it reaches, the
// defaults behind its end, and always a zero last byte.
Bytes ExpectedSaveAfterLoading(const Bytes& file) {
  Bytes expected = DefaultSettingsFile();
  for (size_t i = 0; i + 1 < kSettingsFileSize && i < file.size(); ++i) expected[i] = file[i];
  return expected;
}

// ---- Settings files of every shape, met by the whole program ----------------------------

struct SettingsShape {
  const char* name;
  std::function<Bytes()> file;  // empty function: no file at all
};

Bytes NamesWithoutZero() {
  Bytes b = DefaultSettingsFile();
  for (int place = 0; place < 5; ++place) {
    for (int i = 0; i < 30; ++i) b[6 + 30 * place + i] = static_cast<uint8_t>('A' + (place * 7 + i) % 26);
  }
  std::memset(&b[180], 'Z', 30);  // the spare name too
  PutLe(b, 156, 50, 4);
  return b;
}

Bytes NegativeUnsortedScores() {
  Bytes b = DefaultSettingsFile();
  const int32_t scores[5] = {-5, 100, -20, 7, INT32_MIN};
  for (int i = 0; i < 5; ++i) PutLe(b, 156 + 4 * i, static_cast<uint32_t>(scores[i]), 4);
  std::memcpy(&b[6], "Neg", 3);
  PutLe(b, 2, 0xFFFF, 2);  // difficulty -1
  b[176] = 200;            // sound "on" as any non-zero value
  return b;
}

const SettingsShape kShapes[] = {
    {"Missing", {}},
    {"Empty", [] { return Bytes{}; }},
    {"Short", [] { return RandomBytes(97, 1); }},
    {"Junk211", [] { return RandomBytes(211, 2); }},
    {"Longer", [] { return RandomBytes(4000, 3); }},
    {"NamesWithoutZero", NamesWithoutZero},
    {"NegativeUnsortedScores", NegativeUnsortedScores},
};

// Passes everything to the scripted host and can act once, at the first screen wait.
class HookedHost final : public HostInput {
 public:
  explicit HookedHost(ScriptedHost& inner) : inner(inner) {}
  void Delay(uint32_t ms) override { inner.Delay(ms); }
  uint32_t Ticks() override { return inner.Ticks(); }
  int PollEvent(SDL_Event* event) override { return inner.PollEvent(event); }
  int WaitEvent(SDL_Event* event) override {
    if (onFirstWait) {
      onFirstWait();
      onFirstWait = nullptr;
    }
    ++waits;
    return inner.WaitEvent(event);
  }
  const uint8_t* KeyState() override { return inner.KeyState(); }
  std::function<void()> onFirstWait;
  int waits = 0;

 private:
  ScriptedHost& inner;
};

// The whole program on the game's own built packs, in the test's game folder.
class WholeProgram : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Settings = SettingsRecord{};
    for (const char* name : {"0.pak", "1.pak", "story"}) {
      const Bytes bytes = ReadFileBytes(std::string(ZORBLATS_GAME_DIR) + "/data/" + name);
      ASSERT_FALSE(bytes.empty()) << name << " is not built";
      WriteFileBytes(folder + "data/" + name, bytes);
    }
    UseHostInput(&hooked);
    // RunGame installs the drawn message box; the test answers boxes itself.
    hooked.onFirstWait = [this] { UseMessageBoxHandler(&boxes); };
  }
  std::string SettingsPath() const { return folder + "data/zorblats.set"; }
  void Tap(uint32_t at, const Rect& area) {
    host.cursor = at;
    host.Tap((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  }
  // Options and back (a save), then the high scores and back.
  void VisitOptionsAndHighScores(uint32_t from) {
    Tap(from, kOptionsArea);
    Tap(from + 1000, Rect{6, 290, 57, 318});  // the options screen's back button
    Tap(from + 2000, kHighScoresArea);
    Tap(from + 3000, Rect{20, 209, 65, 229});  // the high-score screen's back button
  }
  // Closes the window at a moment of the script.
  void QuitAt(uint32_t at) {
    host.cursor = at;
    host.Quit();
  }

  HookedHost hooked{host};
};

class SettingsShapes : public WholeProgram, public ::testing::WithParamInterface<SettingsShape> {};

TEST_P(SettingsShapes, GameRunsAndTheNextSaveIsWellFormed) {
  const SettingsShape& shape = GetParam();
  Bytes file;
  if (shape.file) {
    file = shape.file();
    WriteFileBytes(SettingsPath(), file);
  }
  VisitOptionsAndHighScores(2000);
  QuitAt(6000);
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(host.Pending(), 0u) << "every tap reached a screen";
  EXPECT_TRUE(boxes.shown.empty()) << boxes.shown[0].text;
  // Only the options screen saved; it kept every value as the file had it.
  EXPECT_EQ(ReadFileBytes(SettingsPath()), ExpectedSaveAfterLoading(file));
  EXPECT_EQ(Settings.reserved, 0);
}

INSTANTIATE_TEST_SUITE_P(Robustness, SettingsShapes, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The table rules on a hand-edited table ---------------------------------------------

class Robustness : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Settings = SettingsRecord{};
  }
  std::string SettingsPath() const { return folder + "data/zorblats.set"; }
};

TEST_F(Robustness, UnsortedNegativeScoresFollowTheFirstLowerPlaceRule) {
  WriteFileBytes(SettingsPath(), NegativeUnsortedScores());
  LoadSettings();
  EXPECT_EQ(Settings.difficulty, -1);
  EXPECT_EQ(Settings.soundOn, 200);
  // The first place whose score is strictly lower, whatever comes after it.
  EXPECT_EQ(HighScorePlace(1), 0);
  EXPECT_EQ(HighScorePlace(-5), 2);
  EXPECT_EQ(HighScorePlace(-20), 4);
  EXPECT_EQ(HighScorePlace(INT32_MIN), -1);
  MakeRoomAt(2);
  const int32_t moved[5] = {-5, 100, -20, -20, 7};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Settings.highScores[i], moved[i]) << "place " << i;
  ASSERT_TRUE(SaveSettings());
  const Bytes saved = ReadFileBytes(SettingsPath());
  ASSERT_EQ(saved.size(), kSettingsFileSize);
  for (int i = 0; i < 5; ++i) {
    int32_t value = 0;
    std::memcpy(&value, &saved[156 + 4 * i], 4);  // little-endian host
    EXPECT_EQ(value, moved[i]) << "place " << i;
  }
}

// ---- Saves killed at any moment ---------------------------------------------------------

TEST_F(Robustness, SavesKilledAtAnyMomentLeaveTheOldOrTheNewTable) {
  auto table = [](int32_t base, const char* name) {
    SettingsRecord record;
    for (int i = 0; i < 5; ++i) {
      std::snprintf(record.highScoreNames[i], kNameFieldSize, "%s%d", name, i);
      record.highScores[i] = base - 10 * i;
    }
    return record;
  };
  const SettingsRecord first = table(5000, "First"), second = table(9000, "Second");
  Bytes firstBytes(kSettingsFileSize), secondBytes(kSettingsFileSize);
  EncodeSettings(first, firstBytes.data());
  EncodeSettings(second, secondBytes.data());
  // Kills land anywhere within a few saves, however fast this disk and build are (a forked
  // child under AddressSanitizer takes longer for its first save than this process).
  Settings = first;
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(SaveSettings());
  const auto oneSave = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - before);
  const uint32_t window = static_cast<uint32_t>(std::max<int64_t>(6 * oneSave.count(), 5000)) + 1000;

  std::mt19937 random(7);
  int sawFirst = 0, sawSecond = 0;
  for (int round = 0; round < 120; ++round) {
    const pid_t saver = fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
      for (int i = 0;; ++i) {
        Settings = i % 2 ? first : second;
        SaveSettings();
      }
    }
    usleep(static_cast<useconds_t>(random() % window));
    kill(saver, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(saver, &status, 0), saver);
    const Bytes now = ReadFileBytes(SettingsPath());
    ASSERT_EQ(now.size(), kSettingsFileSize) << "round " << round;
    ASSERT_TRUE(now == firstBytes || now == secondBytes) << "round " << round << ": a mixed table";
    (now == firstBytes ? sawFirst : sawSecond) += 1;
  }
  // The kills did land in the middle of the burst, with both tables in turn.
  EXPECT_GT(sawFirst, 0);
  EXPECT_GT(sawSecond, 0);
  // A temporary file left by a kill does not stop the next save.
  Settings = second;
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(ReadFileBytes(SettingsPath()), secondBytes);
  EXPECT_NE(access((folder + "data/zorblats.tmp").c_str(), F_OK), 0);
  EXPECT_TRUE(boxes.shown.empty());
}

// ---- Image packs replaced by something else ---------------------------------------------

Bytes Gzip(const Bytes& content) {
  Bytes out(compressBound(static_cast<uLong>(content.size())) + 64);
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  z.next_in = const_cast<Bytes::value_type*>(content.data());
  z.avail_in = static_cast<uInt>(content.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

TEST_F(Robustness, PacksReplacedByOtherFilesAreRefusedNamingTheFile) {
  const std::string path = folder + "data/1.pak";
  struct Case {
    const char* what;
    std::function<void()> make;
    const char* reason;
  };
  const Case cases[] = {
      {"random file", [&] { WriteFileBytes(path, RandomBytes(5000, 11)); }, "damaged"},
      {"zero-length file", [&] { WriteFileBytes(path, {}); }, "too short for its image count"},
      {"gzip magic then junk", [&] { Bytes b = RandomBytes(3000, 12); b[0] = 0x1F; b[1] = 0x8B; b[2] = 8; b[3] = 0; WriteFileBytes(path, b); }, "damaged"},
      {"gzip of random bytes", [&] { WriteFileBytes(path, Gzip(RandomBytes(3000, 13))); }, "damaged"},
      {"gzip of nothing", [&] { WriteFileBytes(path, Gzip({})); }, "too short for its image count"},
      {"a folder", [&] { unlink(path.c_str()); ASSERT_EQ(mkdir(path.c_str(), 0755), 0); }, "Is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.make();
    PackFile pack(PackMode::Read);
    ImageSet set;
    std::string error;
    EXPECT_FALSE(pack.TryLoad(set, "//data//1", 2000000, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_EQ(set.Count(), 0);
  }
}

TEST_F(Robustness, AFolderOrAnEmptyFileInPlaceOfAPackStopsTheGameWithItsName) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ASSERT_EQ(mkdir((folder + "data/0.pak").c_str(), 0755), 0);
  WriteFileBytes(folder + "data/1.pak", {});
  PackFile pack(PackMode::Read);
  ImageSet set;
  EXPECT_EXIT(pack.Load(set, "\\data\\0", 200000), testing::ExitedWithCode(1),
              "Error: The image pack .*data/0\\.pak ");
  EXPECT_EXIT(pack.Load(set, "//data//1", 2000000), testing::ExitedWithCode(1),
              "Error: The image pack .*data/1\\.pak is damaged: the content is 0 bytes");
}

// ---- Bitmaps whose header claims more than the file holds -------------------------------

// A BMP header (40-byte info header) with the given size and depth, and `pixelBytes` bytes.
Bytes BitmapHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression, size_t pixelBytes) {
  Bytes b(54 + pixelBytes, 0x5A);
  std::memset(b.data(), 0, 54);
  b[0] = 'B';
  b[1] = 'M';
  PutLe(b, 2, static_cast<uint32_t>(b.size()), 4);
  PutLe(b, 10, 54, 4);
  PutLe(b, 14, 40, 4);
  PutLe(b, 18, static_cast<uint32_t>(width), 4);
  PutLe(b, 22, static_cast<uint32_t>(height), 4);
  PutLe(b, 26, 1, 2);
  PutLe(b, 28, bits, 2);
  PutLe(b, 30, compression, 4);
  return b;
}

TEST_F(Robustness, BitmapHeadersAreCheckedAgainstTheFileBeforeLoading) {
  const std::string path = folder + "p.bmp";
  auto sane = [&](const Bytes& bytes) {
    WriteFileBytes(path, bytes);
    return BitmapFileIsSane(path.c_str());
  };
  // A real picture of every layout the loaders meet passes, bottom-up or top-down.
  SDL_Surface* real = MakeSurface(7, 5, 0x1234);
  ASSERT_EQ(SDL_SaveBMP(real, path.c_str()), 0);
  SDL_FreeSurface(real);
  EXPECT_TRUE(BitmapFileIsSane(path.c_str()));
  EXPECT_TRUE(sane(BitmapHeader(7, -5, 24, 0, 24 * 5)));  // rows of 21 bytes padded to 24
  EXPECT_FALSE(sane(BitmapHeader(7, -5, 24, 0, 24 * 5 - 1)));
  EXPECT_TRUE(sane(BitmapHeader(4096, 4096, 8, 1, 10)));  // run-length coded: no row test
  // What is not a BMP is left to SDL, which refuses it at once.
  EXPECT_TRUE(sane(Bytes{'B'}));
  EXPECT_TRUE(sane(RandomBytes(100, 5)));
  EXPECT_TRUE(BitmapFileIsSane((folder + "missing.bmp").c_str()));

  // Claims of gigabytes in a file of a hundred bytes.
  EXPECT_FALSE(sane(BitmapHeader(30000, 30000, 32, 0, 64)));
  EXPECT_NE(std::string(SDL_GetError()).find("30000 x 30000"), std::string::npos) << SDL_GetError();
  EXPECT_FALSE(sane(BitmapHeader(-30000, INT32_MIN, 32, 0, 64)));
  EXPECT_FALSE(sane(BitmapHeader(4097, 4096, 8, 1, 10)));
  EXPECT_FALSE(sane(BitmapHeader(2000, 2000, 16, 3, 1000)));
  // Headers that are cut short or of a size no BMP has.
  Bytes cut = BitmapHeader(2, 2, 24, 0, 16);
  cut.resize(40);
  EXPECT_FALSE(sane(cut));
  EXPECT_FALSE(sane(Bytes{'B', 'M', 0, 0}));
  Bytes odd = BitmapHeader(2, 2, 24, 0, 16);
  PutLe(odd, 14, 0x00A50009, 4);
  EXPECT_FALSE(sane(odd));
  PutLe(odd, 14, 8, 4);
  EXPECT_FALSE(sane(odd));
  // The old 12-byte header with 16-bit sizes.
  Bytes core(26 + 10, 0);
  core[0] = 'B';
  core[1] = 'M';
  PutLe(core, 14, 12, 4);
  PutLe(core, 18, 60000, 2);
  PutLe(core, 20, 60000, 2);
  PutLe(core, 22, 1, 2);
  PutLe(core, 24, 24, 2);
  EXPECT_FALSE(sane(core));
}

TEST_F(Robustness, TheBuilderRefusesAHugeHeaderAtOnce) {
  WriteFileBytes(folder + "data/huge.bmp", BitmapHeader(30000, 30000, 32, 0, 64));
  const auto start = std::chrono::steady_clock::now();
  uint32_t alpha = 5;
  testing::internal::CaptureStderr();
  SDL_Surface* surface = LoadSourceImage((folder + "data\\huge.bmp").c_str(), &alpha);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(surface, nullptr);
  EXPECT_EQ(alpha, 0u);
  EXPECT_NE(said.find("Couldn't load " + folder + "data\\huge.bmp: the picture claims 30000 x 30000"),
            std::string::npos) << said;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(Robustness, SixteenBitBitmapsWithoutMasksPackAndLoadBack) {
  // A 16-bit BMP with no masks holds 5-5-5 pixels, which SDL calls 15 bits deep, a depth
  // the reader refuses: the builder stores such pictures at 24 bits like paletted ones.
  Bytes picture = BitmapHeader(3, 2, 16, 0, 8 * 2);
  for (size_t i = 54; i < picture.size(); i += 2) PutLe(picture, i, 0x7C00, 2);  // pure red
  WriteFileBytes(folder + "data/red555.bmp", picture);
  const char* names[] = {"red555.bmp"};
  PackFile builder(PackMode::Write);
  ASSERT_EQ(builder.Build((folder + "data/red").c_str(), NameList{1, names}), 0);
  PackFile reader(PackMode::Read);
  ImageSet set;
  std::string error;
  ASSERT_TRUE(reader.TryLoad(set, "data/red", 1000, &error)) << error;
  ASSERT_EQ(set.Count(), 1);
  SDL_Surface* red = set.GetSurface(0);
  ASSERT_EQ(red->w, 3);
  ASSERT_EQ(red->h, 2);
  EXPECT_EQ(ReadPixel(2, 1, red), SDL_MapRGB(red->format, 255, 0, 0));
}

// ---- Help texts and their pictures ------------------------------------------------------

class HelpTexts : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    box.SetRect(19, 60, 205, 190);
    box.SetBackground(Images[kHelp]);
    box.SetRegularFont(Images[kFontWhite]);
    box.SetBoldFont(Images[kFontWhite]);
    box.UseFont(0);
    ASSERT_EQ(getcwd(previous, sizeof previous), previous);
    ASSERT_EQ(chdir(folder.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(previous), 0);
    GameTest::TearDown();
  }
  // Lays the text out and draws every page; the pages must be in order within the text.
  void ShowAllPages(const std::string& text) {
    stored = text;
    box.currentPage = 0;
    box.SetText(stored.c_str());
    ASSERT_GE(box.lastPage, 0);
    ASSERT_LT(box.lastPage, kMaxPages);
    for (int page = 0; page <= box.lastPage; ++page) {
      ASSERT_GE(box.pageStart[page], stored.c_str());
      ASSERT_LE(box.pageStart[page], stored.c_str() + stored.size());
      if (page > 0) {
        ASSERT_GT(box.pageStart[page], box.pageStart[page - 1]);
      }
      box.currentPage = static_cast<int16_t>(page);
      box.DrawBox();
    }
  }
  // Pixels of the text area that are not the help background.
  int Marked() const {
    const uint32_t background = ReadPixel(0, 0, Images[kHelp]);
    int marked = 0;
    for (int y = 0; y < 320; ++y) {
      for (int x = 0; x < 240; ++x) marked += ScreenPixel(x, y) != background;
    }
    return marked;
  }
  std::string stored;
  TextBox box;
  char previous[4096];
};

TEST_F(HelpTexts, EmptyJunkAndHugeTextsLayOutAndDraw) {
  ShowAllPages("");
  EXPECT_EQ(box.lastPage, 0);
  EXPECT_EQ(Marked(), 0) << "an empty text shows only the background";

  // Every byte value but zero, many times, in random order.
  const Bytes junk = RandomBytes(64 * 1024, 21);
  std::string text;
  for (uint8_t b : junk) text.push_back(static_cast<char>(b ? b : '\n'));
  ShowAllPages(text);

  // A megabyte of words: page starts stop at the table's 100, the last one still drawn.
  std::string mega;
  while (mega.size() < 1024 * 1024) mega += "the swarm steps down at every turn\n";
  const auto start = std::chrono::steady_clock::now();
  ShowAllPages(mega);
  EXPECT_EQ(box.lastPage, kMaxPages - 1);
  EXPECT_GT(Marked(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(HelpTexts, PicturesThatAreNotPicturesTakeNoRoom) {
  WriteFileBytes(folder + "text.bmp", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'B', 'M', 'P'});
  WriteFileBytes(folder + "cut.bmp", BitmapHeader(20, 20, 16, 0, 100));
  WriteFileBytes(folder + "huge.bmp", BitmapHeader(30000, 30000, 32, 0, 64));
  mkdir((folder + "folder.bmp").c_str(), 0755);
  // The same words with each picture and with none lay out and draw alike.
  ShowAllPages("ab cd");
  const int plain = Marked();
  for (const char* picture : {"text.bmp", "cut.bmp", "huge.bmp", "folder.bmp", "missing.bmp", ""}) {
    SCOPED_TRACE(picture);
    const auto start = std::chrono::steady_clock::now();
    ShowAllPages(std::string("ab<IMAGE>") + picture + "<P> cd");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(box.lastPage, 0);
    EXPECT_EQ(Marked(), plain);
  }
}

TEST_F(HelpTexts, AGenuinelyLargePictureStaysOnItsPage) {
  SDL_Surface* large = MakeSurface(1000, 1200, Rgb565(0, 255, 0));
  ASSERT_EQ(SDL_SaveBMP(large, (folder + "large.bmp").c_str()), 0);
  SDL_FreeSurface(large);
  ShowAllPages("ab\ncd<IMAGE>large.bmp</BOLD>ef\ngh");
  // Met after a line, it moves to the next page, where it stays although it cannot fit; the
  // words after it follow it there, and the next paragraph starts a third page.
  ASSERT_EQ(box.lastPage, 2);
  box.currentPage = 1;
  box.DrawBox();
  EXPECT_EQ(ScreenPixel(120, 300), Rgb565(0, 255, 0));
}

TEST_F(HelpTexts, UnterminatedTagsAndPathsEndTheText) {
  for (const char* text : {"ab<IMAGE>data\\help", "ab<IMAGE>", "ab<BOLD", "ab<", "<", "ab<IMAGE><", ">>><<<"}) {
    SCOPED_TRACE(text);
    ShowAllPages(text);
    EXPECT_EQ(box.lastPage, 0);
  }
  // A tag of 10,000 bytes that never closes, and a path of 10,000 bytes.
  ShowAllPages("ab<" + std::string(10000, 'T'));
  ShowAllPages("ab<IMAGE>" + std::string(10000, '/'));
  EXPECT_EQ(box.lastPage, 0);
}

// ---- Sounds -----------------------------------------------------------------------------

Bytes Wave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t dataClaim, size_t dataBytes) {
  Bytes b;
  auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i))); };
  auto u16 = [&](uint16_t v) { b.push_back(static_cast<uint8_t>(v)); b.push_back(static_cast<uint8_t>(v >> 8)); };
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  u32(static_cast<uint32_t>(36 + dataBytes));
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  u32(16); u16(1); u16(channels); u32(rate); u32(rate * channels * bits / 8);
  u16(static_cast<uint16_t>(channels * bits / 8)); u16(bits);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  u32(dataClaim);
  for (size_t i = 0; i < dataBytes; ++i) b.push_back(static_cast<uint8_t>(i * 37));
  return b;
}

TEST(RobustSound, DamagedWavesPlayNothingAndSpoilNoOtherSound) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(0), 0);
  ASSERT_TRUE(OpenSound());
  char pattern[] = "/tmp/zorblats-robust-sound-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  const std::vector<std::pair<std::string, Bytes>> damaged = {
      {"empty", {}},
      {"junk", RandomBytes(3000, 31)},
      {"no channels", Wave(0, 22050, 16, 2000, 2000)},
      {"no rate", Wave(1, 0, 16, 2000, 2000)},
      {"odd bits", Wave(1, 22050, 13, 2000, 2000)},
      {"cut short", [] { Bytes b = Wave(1, 22050, 16, 2000, 2000); b.resize(30); return b; }()},
  };
  for (const auto& [name, bytes] : damaged) {
    WriteFileBytes(dir + "/" + name + ".wav", bytes);
    PlayWaveFile((dir + "\\" + name + ".wav").c_str());
    EXPECT_EQ(Mix_Playing(-1), 0) << name;
  }
  mkdir((dir + "/folder.wav").c_str(), 0755);
  PlayWaveFile((dir + "\\folder.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 0);
  // A data chunk that claims more than the file holds plays what is there, or nothing.
  WriteFileBytes(dir + "/claims.wav", Wave(1, 22050, 16, 0x7FFFFFF0u, 4000));
  PlayWaveFile((dir + "\\claims.wav").c_str());
  Mix_HaltChannel(-1);
  // A good sound still plays after all of them.
  WriteFileBytes(dir + "/good.wav", Wave(1, 22050, 16, 44100, 44100));
  PlayWaveFile((dir + "\\good.wav").c_str());
  EXPECT_EQ(Mix_Playing(-1), 1);
  CloseSound();
  SDL_Quit();
  std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
