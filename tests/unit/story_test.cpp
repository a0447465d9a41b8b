// The help text as the build ships it (data/story): clean bytes and well-formed mark-up,
// pictures that exist beside the game, the game's rules in its words, and four pages at
// most when it is laid out in the help box with the real font. The help screen shows only
// pages 0 to 3, so a fifth page would never be seen.
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "resources/pack.h"
#include "tests/support/harness.h"
#include "text/textbox.h"

namespace {

const std::string kGameDir = ZORBLATS_GAME_DIR;

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

std::string ShippedStory() { return ReadText(kGameDir + "/data/story"); }

// The picture paths of the text: each runs from "<IMAGE>" to the next "<" or the end.
std::vector<std::string> PicturePaths(const std::string& text) {
  std::vector<std::string> paths;
  const std::string tag = "<IMAGE>";
  for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
    const size_t from = at + tag.size();
    const size_t to = text.find('<', from);
    paths.push_back(text.substr(from, to == std::string::npos ? std::string::npos : to - from));
  }
  return paths;
}

TEST(Story, ShipsTheSourceByteForByteAsPlainAsciiWithUnixLineEnds) {
  const std::string shipped = ShippedStory();
  ASSERT_FALSE(shipped.empty()) << "no data/story in " << kGameDir;
  EXPECT_EQ(shipped, ReadText(std::string(ZORBLATS_SOURCE_DIR) + "/content/story.txt"));
  for (size_t i = 0; i < shipped.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(shipped[i]);
    ASSERT_TRUE(c == '\n' || (c >= 32 && c <= 126)) << "byte " << int(c) << " at " << i;
  }
  // A closing newline could only add an empty page.
  EXPECT_NE(shipped.back(), '\n');
  EXPECT_EQ(shipped.find("\n\n"), std::string::npos) << "an empty paragraph wastes two lines";
}

TEST(Story, UsesOnlyWellFormedTagsAndEndsInTheRegularFont) {
  const std::string text = ShippedStory();
  ASSERT_FALSE(text.empty());
  bool bold = false;
  size_t at = 0;
  while ((at = text.find('<', at)) != std::string::npos) {
    const size_t close = text.find('>', at);
    ASSERT_NE(close, std::string::npos) << "unclosed tag at " << at;
    const std::string tag = text.substr(at, close - at + 1);
    ASSERT_EQ(tag.find('<', 1), std::string::npos) << "a '<' inside the tag at " << at;
    if (tag == "<BOLD>") {
      EXPECT_FALSE(bold) << "bold opened twice at " << at;
      bold = true;
    } else if (tag == "</BOLD>") {
      EXPECT_TRUE(bold) << "bold closed while not open at " << at;
      bold = false;
    } else if (tag == "<IMAGE>") {
      // The path ends at the next "<": it must be followed by a tag, not by words.
      const size_t next = text.find('<', close);
      ASSERT_NE(next, std::string::npos) << "a picture path runs to the end of the text";
    } else {
      EXPECT_EQ(tag, "<BR>") << "an unknown tag is silently dropped: " << tag;
    }
    at = close;
  }
  // The font in use is not reset between passes: a text that ended bold would start bold.
  EXPECT_FALSE(bold);
  // Outside tags a ">" takes no room and is never drawn.
  std::string outside;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '<') i = text.find('>', i);
    else outside += text[i];
  }
  EXPECT_EQ(outside.find('>'), std::string::npos);
}

TEST(Story, EveryPictureIsAFileBesideTheGameThatFitsTheBox) {
  const std::vector<std::string> paths = PicturePaths(ShippedStory());
  ASSERT_GE(paths.size(), 4u) << "the ship, enemies, bricks and gifts each have a picture";
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_EQ(path.rfind("data\\", 0), 0u) << "pictures live in the data folder";
    EXPECT_EQ(path.find_first_of(" \n"), std::string::npos);
    char host[kPathCapacity];
    ASSERT_TRUE(HostPath(path.c_str(), host, sizeof host));
    SDL_Surface* picture = SDL_LoadBMP((kGameDir + "/" + host).c_str());
    ASSERT_NE(picture, nullptr) << SDL_GetError();
    EXPECT_LE(picture->w, 205);              // the box's width
    EXPECT_LE(picture->h, 190 - 2 * 11);     // with a line above it, inside one page
    EXPECT_GE(picture->h, 8);
    SDL_FreeSurface(picture);
  }
}

TEST(Story, ExplainsTheControlsTheGiftsAndTheLevels) {
  const std::string text = ShippedStory();
  for (const char* words : {"arrow", "Ctrl", "MENU", "Resume", "1, 2 or 3 hits", "10",
                            "cell by cell", "launcher", "Reverse", "Extra life", "Ship speed",
                            "Chain kill", "lives", "25", "level 1", "score", "name"}) {
    EXPECT_NE(text.find(words), std::string::npos) << "the help text never mentions " << words;
  }
  for (const char* picture : {"help_ship.bmp", "help_enemies.bmp", "help_bricks.bmp",
                              "help_gifts.bmp"}) {
    EXPECT_NE(text.find(picture), std::string::npos) << picture;
  }
}

// The real help box, the real font from the built pack, the real pictures.
class StoryLayout : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    std::snprintf(ExeDir, sizeof ExeDir, "%s/", kGameDir.c_str());
    std::snprintf(DataDir, sizeof DataDir, "%s/data\\", kGameDir.c_str());
    // The game runs in its own folder, so that "data\help_ship.bmp" opens beside it.
    ASSERT_NE(getcwd(previousDir, sizeof previousDir), nullptr);
    ASSERT_EQ(chdir(kGameDir.c_str()), 0);
    PackFile pack(PackMode::Read);
    std::string error;
    ASSERT_TRUE(pack.TryLoad(set, "\\data\\1", 2000000, &error)) << error;
    ASSERT_GT(set.Count(), static_cast<int32_t>(kFontWhite));
    story = ShippedStory();
    ASSERT_FALSE(story.empty());
  }
  void TearDown() override {
    set.FreeAll();
    if (previousDir[0] && chdir(previousDir) != 0) ADD_FAILURE() << "cannot go back";
    GameTest::TearDown();
  }
  // Sets up a box as the driver does and lays the text out.
  void Lay(TextBox& box, const std::string& text) {
    box.SetRect(19, 60, 205, 190);
    box.SetBackground(set.GetSurface(kHelp));
    box.SetRegularFont(set.GetSurface(kFontWhite));
    box.SetBoldFont(set.GetSurface(kFontWhite));
    box.UseFont(0);
    box.SetText(text.c_str());
  }

  ImageSet set;
  std::string story;
  char previousDir[4096] = {};
};

TEST_F(StoryLayout, FitsTheFourPagesTheHelpScreenShows) {
  TextBox box;
  Lay(box, story);
  EXPECT_LE(box.lastPage, 3) << "the help screen never shows a fifth page";
  EXPECT_GE(box.lastPage, 1) << "more than one page of help: the pages must turn";
  // Every page starts inside the text, each after the one before.
  for (int page = 0; page <= box.lastPage; ++page) {
    ASSERT_GE(box.pageStart[page], box.text);
    ASSERT_LT(box.pageStart[page], box.text + story.size());
    if (page > 0) {
      EXPECT_GT(box.pageStart[page], box.pageStart[page - 1]);
    }
  }
  // Every page draws; the text is white on the dark box, so each page puts some
  // bright pixels inside the text area that the bare background does not have.
  for (box.currentPage = 0; box.currentPage <= box.lastPage; ++box.currentPage) {
    SCOPED_TRACE("page " + std::to_string(box.currentPage));
    box.DrawBox();
    int changed = 0;
    SDL_Surface* bare = set.GetSurface(kHelp);
    for (int y = 60; y < 250; ++y) {
      for (int x = 19; x < 224; ++x) {
        const auto* row = static_cast<const uint8_t*>(ScreenSurface->pixels) +
                          y * ScreenSurface->pitch;
        const auto* bareRow = static_cast<const uint8_t*>(bare->pixels) + y * bare->pitch;
        if (std::memcmp(row + 2 * x, bareRow + 2 * x, 2) != 0) ++changed;
      }
    }
    EXPECT_GT(changed, 500);
  }
}

TEST_F(StoryLayout, TwiceTheTextWouldNotFit) {
  // The check above is only worth something if the box really pages with this font and
  // these pictures: the text twice over cannot fit four pages.
  TextBox box;
  const std::string doubled = story + "\n" + story;
  Lay(box, doubled);
  EXPECT_GT(box.lastPage, 3);
}

}  // namespace
