// The whole program from RunGame on, in-process on the virtual clock, with image packs made
// here from synthetic pictures: the start screen, the menu, resuming and restarting a paused
// game, quitting during play, the level after the 25th, a lost game, and the help text.
#include "app/driver.h"

#include <zlib.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/game_state.h"
#include "game/ship.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"
#include "tests/support/screen_watch.h"
#include "text/textbox.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& out, uint32_t v, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A pack's content table holding the given 16-bit surfaces, gzip-compressed to a file.
void WritePack(const std::string& path, const std::vector<SDL_Surface*>& surfaces) {
  Bytes content;
  Put(content, static_cast<uint32_t>(surfaces.size()), 4);
  for (SDL_Surface* s : surfaces) {
    Put(content, 0, 4);
    Put(content, static_cast<uint32_t>(s->w), 4);
    Put(content, static_cast<uint32_t>(s->h), 4);
    Put(content, s->pitch, 2);
    Put(content, 16, 1);
    Put(content, 0xF800, 4);
    Put(content, 0x07E0, 4);
    Put(content, 0x001F, 4);
    Put(content, 0, 4);
    const uint8_t* pixels = static_cast<const uint8_t*>(s->pixels);
    content.insert(content.end(), pixels, pixels + static_cast<size_t>(s->pitch) * s->h);
  }
  gzFile out = gzopen(path.c_str(), "wb1");
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(gzwrite(out, content.data(), static_cast<unsigned>(content.size())),
            static_cast<int>(content.size()));
  gzclose(out);
}

// Everything the scenarios look at, taken at one moment.
struct GameSnapshot {
  int32_t level;
  int32_t score;
  int16_t lives;
  int32_t formationX, formationY;
  std::vector<int> enemies;    // alive and cell of every slot
  std::vector<int> positions;  // x and y of every slot
  bool operator==(const GameSnapshot&) const = default;
};

GameSnapshot TakeSnapshot() {
  GameSnapshot s{CurrentLevel, PlayerShip.score, PlayerShip.lives, EnemyFormation.x, EnemyFormation.y, {}, {}};
  for (const Enemy& e : Enemies) {
    s.enemies.insert(s.enemies.end(), {e.alive, e.cell});
    s.positions.insert(s.positions.end(), {e.x, e.y});
  }
  return s;
}

// Passes everything to the scripted host; notes every delay with what the screen showed,
// and lets a scenario act at every menu wait and every poll.
class DriverHost final : public HostInput {
 public:
  explicit DriverHost(ScriptedHost& inner) : inner(inner) {}
  void Delay(uint32_t ms) override {
    delays.push_back({inner.now, ms, ReadPixel(120, 160, ScreenSurface)});
    inner.Delay(ms);
  }
  uint32_t Ticks() override { return inner.Ticks(); }
  int PollEvent(SDL_Event* event) override {
    ++polls;
    if (onPoll) onPoll();
    return inner.PollEvent(event);
  }
  int WaitEvent(SDL_Event* event) override {
    waits.push_back({inner.now, 0, ReadPixel(WatchingHost::kProbeX, WatchingHost::kProbeY, ScreenSurface)});
    if (onWait) onWait();
    return inner.WaitEvent(event);
  }
  const uint8_t* KeyState() override { return inner.KeyState(); }

  struct Moment {
    uint32_t at, ms, pixel;
  };
  std::vector<Moment> delays, waits;
  int polls = 0;
  std::function<void()> onPoll, onWait;

 private:
  ScriptedHost& inner;
};

class DriverTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    // The main pack from the synthetic pictures; the start screen in a colour of its own.
    InstallSyntheticImages();
    WritePack(folder + "data/1.pak", std::vector<SDL_Surface*>(Images, Images + kImageCount));
    SDL_Surface* start = MakeSurface(240, 320, kStartColour);
    owned.push_back(start);
    WritePack(folder + "data/0.pak", {start});
    for (SDL_Surface*& image : Images) image = nullptr;  // RunGame must load them itself
    UseHostInput(&driver);
  }

  void WriteStory(const std::string& text) {
    WriteFileBytes(folder + "data/story", Bytes(text.begin(), text.end()));
  }
  // The image a menu wait showed.
  static int ScreenAt(const DriverHost::Moment& m) { return WatchingHost::ScreenOf(m.pixel); }
  int GameOverPictures() const {
    int n = 0;
    for (const auto& d : driver.delays) n += d.ms == 3000;
    return n;
  }

  // Taps in play and in the menus, each at a virtual time of its own.
  void TapAt(uint32_t at, int x, int y) {
    host.cursor = at;
    host.Tap(x, y);
  }
  static constexpr uint16_t kStartColour = 0x07E0 | 0x0010;
  static constexpr int kNewGameX = 100, kNewGameY = 70;
  static constexpr int kMenuButtonX = 200, kMenuButtonY = 280;  // on the play screen
  static constexpr int kResumeButtonX = 60, kResumeButtonY = 30;

  DriverHost driver{host};
};

TEST_F(DriverTest, StartScreenShowsForOneSecondThenTheMenu) {
  WriteStory("Help");
  EXPECT_EQ(RunGame(), Quit);  // nothing scripted: the menu's wait ends in a quit event
  ASSERT_GE(driver.delays.size(), 1u);
  EXPECT_EQ(driver.delays[0].at, 0u);
  EXPECT_EQ(driver.delays[0].ms, 1000u);
  EXPECT_EQ(driver.delays[0].pixel, kStartColour) << "the start screen is on show during the second";
  ASSERT_EQ(driver.waits.size(), 1u);
  EXPECT_EQ(driver.waits[0].at, 1000u);
  EXPECT_EQ(ScreenAt(driver.waits[0]), kMainMenu);
  EXPECT_EQ(driver.delays.size(), 1u) << "no game ran";
  // The main pack replaced slot 0 and the rest.
  ASSERT_NE(Images[kStartScreen], nullptr);
  EXPECT_NE(ReadPixel(0, 0, Images[kStartScreen]), kStartColour);
  for (int id = 0; id < kImageCount; ++id) EXPECT_NE(Images[id], nullptr) << id;
}

TEST_F(DriverTest, ResumeContinuesTheSameLevelScoreLivesAndEnemies) {
  TapAt(1010, kNewGameX, kNewGameY);
  TapAt(3000, kMenuButtonX, kMenuButtonY);
  TapAt(3500, kResumeButtonX, kResumeButtonY);
  host.cursor = 5000;
  host.Quit();

  GameSnapshot paused{}, resumed{};
  int menuWaits = 0;
  int pollsAfterResume = -1;
  driver.onWait = [&] {
    if (++menuWaits != 2) return;
    // The paused game, changed so that a fresh start would show.
    PlayerShip.score = 1234;
    PlayerShip.lives = 2;
    CurrentLevel = 7;
    Enemies[3].alive = 0;
    Enemies[3].cell = 0;
    --EnemyFormation.liveCount;
    paused = TakeSnapshot();
    pollsAfterResume = 0;
  };
  driver.onPoll = [&] {
    // The loop's second poll: after its first drawing, before any frame step.
    if (pollsAfterResume >= 0 && ++pollsAfterResume == 2) resumed = TakeSnapshot();
  };
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(menuWaits, 2);
  ASSERT_EQ(driver.waits.size(), 2u);
  EXPECT_EQ(ScreenAt(driver.waits[1]), kMainMenu);
  EXPECT_EQ(paused.level, 7);
  EXPECT_TRUE(resumed == paused) << "score " << resumed.score << ", lives " << resumed.lives << ", level "
                                 << resumed.level;
  EXPECT_EQ(host.Pending(), 0u);
  EXPECT_EQ(GameOverPictures(), 0);
}

TEST_F(DriverTest, PausedMenuShowsResumeAndNewGameThereStartsFresh) {
  TapAt(1010, kNewGameX, kNewGameY);
  TapAt(3000, kMenuButtonX, kMenuButtonY);
  TapAt(3500, kNewGameX, kNewGameY);
  host.cursor = 6000;
  host.Quit();

  int menuWaits = 0;
  bool resumeShown = false;
  GameSnapshot fresh{}, expected{};
  int pollsAfterNewGame = -1;
  driver.onWait = [&] {
    if (++menuWaits != 2) return;
    resumeShown = ReadPixel(kResumeButtonX, kResumeButtonY, ScreenSurface) ==
                  ReadPixel(0, 0, Images[kResumeButton]);
    PlayerShip.score = 1234;
    PlayerShip.lives = 1;
    CurrentLevel = 7;
    Enemies[3].alive = 0;
    pollsAfterNewGame = 0;
  };
  driver.onPoll = [&] {
    if (pollsAfterNewGame >= 0 && ++pollsAfterNewGame == 2) fresh = TakeSnapshot();
  };
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_TRUE(resumeShown);
  EXPECT_EQ(fresh.level, 0);
  EXPECT_EQ(fresh.score, 0);
  EXPECT_EQ(fresh.lives, 3);
  // Level 0 laid out as a new game lays it out.
  StartNewGame();
  expected = TakeSnapshot();
  EXPECT_EQ(fresh.enemies, expected.enemies);
}

TEST_F(DriverTest, QuitDuringPlayEndsWithoutTheGameOverScreen) {
  TapAt(1010, kNewGameX, kNewGameY);
  host.cursor = 2500;
  host.Quit();
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(GameOverPictures(), 0);
  EXPECT_EQ(driver.waits.size(), 1u) << "no menu after the quit";
  EXPECT_GE(host.now, 2500u);
  EXPECT_TRUE(ReadFileBytes(folder + "data/zorblats.set").empty()) << "no high-score entry, no save";
}

TEST_F(DriverTest, ClearingTheTwentyFifthLevelGoesOnAtTheFirstWithScoreAndLives) {
  TapAt(1010, kNewGameX, kNewGameY);
  host.cursor = 4000;
  host.Quit();
  int polls = 0;
  GameSnapshot after{};
  driver.onPoll = [&] {
    ++polls;
    if (polls == 20) {
      // Play on the last level, and its last enemy just fell.
      CurrentLevel = 24;
      PlayerShip.score = 4321;
      PlayerShip.lives = 2;
      Play.levelDone = 1;
    }
    if (polls == 22) after = TakeSnapshot();  // the next level's entry poll, then its first
  };
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(after.level, 0);
  EXPECT_EQ(after.score, 4321);
  EXPECT_EQ(after.lives, 2);
  // The first level's layout is back in place.
  int alive = 0;
  for (int i = 0; i < kFormationSlots; ++i) alive += after.enemies[2 * i] != 0;
  int expected = 0;
  for (uint8_t cell : LevelTable[0]) expected += cell != 0;
  EXPECT_EQ(alive, expected);
  EXPECT_EQ(GameOverPictures(), 0);
}

TEST_F(DriverTest, LevelsAdvanceOneByOne) {
  TapAt(1010, kNewGameX, kNewGameY);
  host.cursor = 8000;
  host.Quit();
  int polls = 0;
  std::vector<int32_t> levels;
  driver.onPoll = [&] {
    ++polls;
    if (polls == 10 || polls == 15) {
      levels.push_back(CurrentLevel);
      Play.levelDone = 1;
    }
    if (polls == 20) levels.push_back(CurrentLevel);
  };
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(levels, (std::vector<int32_t>{0, 1, 2}));
}

TEST_F(DriverTest, LostGameShowsThePictureThenAFreshGameAndAMenuWithoutResume) {
  TapAt(1010, kNewGameX, kNewGameY);
  TapAt(10000, kResumeButtonX, kResumeButtonY);  // ignored: no game in progress
  TapAt(10500, kNewGameX, kNewGameY);
  host.cursor = 13000;
  host.Quit();
  int polls = 0;
  int menuWaits = 0;
  bool resumeShown = true;
  GameSnapshot atMenu{}, newGame{};
  int pollsAfterMenu = -1;
  driver.onPoll = [&] {
    ++polls;
    if (polls == 20) {
      CurrentLevel = 6;
      PlayerShip.lives = 0;
      PlayerShip.score = 0;  // earns no place: no name entry
      Play.gameOver = 1;
    }
    if (pollsAfterMenu >= 0 && ++pollsAfterMenu == 2) newGame = TakeSnapshot();
  };
  driver.onWait = [&] {
    if (++menuWaits != 2) return;
    resumeShown = ReadPixel(kResumeButtonX, kResumeButtonY, ScreenSurface) ==
                  ReadPixel(0, 0, Images[kResumeButton]);
    atMenu = TakeSnapshot();
    // Marked, so that a second fresh start before play would show.
    PlayerShip.score = 55;
    pollsAfterMenu = 0;
  };
  EXPECT_EQ(RunGame(), Quit);
  EXPECT_EQ(GameOverPictures(), 1);
  EXPECT_GE(menuWaits, 3);
  EXPECT_FALSE(resumeShown);
  EXPECT_EQ(atMenu.level, 0) << "the driver started a new game before the menu";
  EXPECT_EQ(atMenu.lives, 3);
  EXPECT_EQ(newGame.level, 0);
  EXPECT_EQ(newGame.lives, 3);
  EXPECT_EQ(newGame.score, 55) << "a new game picked now plays the state just made";
  EXPECT_TRUE(atMenu.enemies == newGame.enemies);
}

TEST_F(DriverTest, StoryIsReadWholeIntoTheHelpBox) {
  const std::string story = "First words.\r\nA <BOLD>bold</BOLD> line.\n";
  WriteStory(story);
  EXPECT_EQ(RunGame(), Quit);
  ASSERT_NE(StoryText, nullptr);
  EXPECT_EQ(std::string(StoryText), story);
  EXPECT_EQ(HelpBox.text, StoryText);
  EXPECT_EQ(HelpBox.left, 19);
  EXPECT_EQ(HelpBox.top, 60);
  EXPECT_EQ(HelpBox.width, 205);
  EXPECT_EQ(HelpBox.height, 190);
  EXPECT_EQ(HelpBox.background, Images[kHelp]);
  EXPECT_EQ(HelpBox.fonts[0], Images[kFontWhite]);
  EXPECT_EQ(HelpBox.fonts[1], Images[kFontWhite]);
}

TEST_F(DriverTest, MissingStoryGivesAnEmptyHelpText) {
  TapAt(1010, 100, 130);  // help
  TapAt(1100, 120, 300);  // its close button
  std::vector<uint32_t> helpArea;
  int menuWaits = 0;
  driver.onWait = [&] {
    if (++menuWaits != 2) return;  // the help screen's first wait
    for (int y = 60; y < 260; y += 2)
      for (int x = 19; x < 224; x += 2) helpArea.push_back(ReadPixel(x, y, ScreenSurface));
  };
  EXPECT_EQ(RunGame(), Quit);
  ASSERT_NE(StoryText, nullptr);
  EXPECT_EQ(StoryText[0], 0);
  EXPECT_EQ(HelpBox.lastPage, 0);
  ASSERT_FALSE(helpArea.empty());
  const uint32_t background = ReadPixel(100, 100, Images[kHelp]);
  for (uint32_t pixel : helpArea) ASSERT_EQ(pixel, background) << "only the background shows";
  EXPECT_EQ(ScreenAt(driver.waits.back()), kMainMenu);
}

}  // namespace

// The game's own content, when this build has made it: the same start with the real packs
// and the real help text.
class RealContentTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    const std::string data = std::string(ZORBLATS_GAME_DIR) + "/data/";
    for (const char* name : {"0.pak", "1.pak", "story"}) {
      const Bytes bytes = ReadFileBytes(data + name);
      if (bytes.empty()) GTEST_SKIP() << "no built content in " << data;
      WriteFileBytes(folder + "data/" + name, bytes);
    }
    UseHostInput(&driver);
  }
  DriverHost driver{host};
};

TEST_F(RealContentTest, StartsShowsTheMenuAndPagesTheHelpText) {
  host.cursor = 1010;
  host.Press(100, 130);  // help
  host.Wait(10).Press(170, 300);  // next page
  host.Wait(10).Press(120, 300);  // close
  std::vector<int16_t> pages;
  int waits = 0;
  driver.onWait = [&] {
    if (++waits >= 2 && waits <= 3) pages.push_back(HelpBox.currentPage);
  };
  EXPECT_EQ(RunGame(), Quit);
  ASSERT_EQ(driver.delays.size(), 1u);
  EXPECT_EQ(driver.delays[0].ms, 1000u);
  ASSERT_NE(StoryText, nullptr);
  EXPECT_EQ(std::string(StoryText).size(), ReadFileBytes(folder + "data/story").size());
  EXPECT_GE(HelpBox.lastPage, 1) << "the game's help text fills more than a page";
  EXPECT_EQ(pages, (std::vector<int16_t>{0, 1}));
  EXPECT_EQ(HelpBox.currentPage, 0);
  // The menu is on the screen at the end, pixel for pixel main.bmp.
  for (int y = 0; y < 320; y += 7)
    for (int x = 0; x < 240; x += 5) ASSERT_EQ(ReadPixel(x, y, ScreenSurface), ReadPixel(x, y, Images[kMainMenu]));
}
