#include "app/driver.h"

#include <cstdio>
#include <cstdlib>

#include "frontend/game_over.h"
#include "frontend/menu.h"
#include "frontend/message_box_screen.h"
#include "game/game_loop.h"
#include "game/game_state.h"
#include "game/sounds.h"
#include "platform/host.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "resources/pack.h"
#include "settings/settings.h"
#include "text/font.h"
#include "text/textbox.h"

char* StoryText = nullptr;

namespace {

constexpr const char kStartScreenPack[] = "\\data\\0";
constexpr size_t kStartScreenBuffer = 200000;
constexpr uint32_t kStartScreenMs = 1000;
constexpr const char kStoryFileName[] = "story";

// The empty text the help box shows when the story cannot be read.
char noStory[1] = {0};

// Shows entry 0 of the start-screen pack for a second, then frees the pack again.
void ShowStartScreen() {
  PackFile pack(PackMode::Read);
  ImageSet* set = new ImageSet;
  pack.Load(*set, kStartScreenPack, kStartScreenBuffer);
  if (set->Count() < 1) StopWithMessage("The image pack data/0.pak holds no start screen.");
  Images[kStartScreen] = set->GetSurface(0);
  BlitImage(Images[kStartScreen], 0, 0);
  FlipScreen();
  HostDelay(kStartScreenMs);
  // Slot 0 points at a freed surface until LoadImages fills it again; nothing draws between.
  set->FreeAll();
  delete set;
}

// Reads DataDir + "story" whole and zero-terminated. A missing or unreadable file gives an
// empty text: the help screen then shows only its background.
char* ReadStory() {
  char path[kPathCapacity];
  const int length = std::snprintf(path, sizeof path, "%s%s", DataDir, kStoryFileName);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return noStory;
  std::FILE* file = OpenGameFile(path, "rb");
  if (!file) return noStory;
  char* text = nullptr;
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
    text = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1));
  }
  if (text) {
    const size_t got = std::fread(text, 1, static_cast<size_t>(size), file);
    text[got] = 0;  // a read cut short keeps what arrived
  }
  std::fclose(file);
  return text ? text : noStory;
}

// Moves play on to the next level; after the 25th the first comes again, score and lives kept.
void AdvanceLevel() {
  ++CurrentLevel;
  if (CurrentLevel == kLevelCount) CurrentLevel = 0;
  StartLevel(static_cast<int16_t>(CurrentLevel));
}

}  // namespace

FlowCode RunGame() {
  LoadSettings();
  ShowStartScreen();
  LoadImages();
  LoadSounds();
  SelectFont(kFontWhite);
  InstallDrawnMessageBox();
  PrepareHelpBox(HelpBox);
  StoryText = ReadStory();
  HelpBox.SetText(StoryText);

  FlowCode code = RunMainMenu(false);
  if (code == Quit) return code;
  if (code == NewGame) StartNewGame();
  while (code != Quit) {
    code = RunGameLoop();
    switch (code) {
      case LevelCleared:
        AdvanceLevel();
        break;
      case GameOver:
        RunGameOverScreen();
        StartNewGame();
        // A new game picked now starts from the state just made.
        code = RunMainMenu(false);
        break;
      case OpenMenu:  // the same value as Resume: a resumed game goes on where it stopped
        code = RunMainMenu(true);
        if (code == NewGame) StartNewGame();
        break;
      default:
        break;
    }
  }
  return code;
}
