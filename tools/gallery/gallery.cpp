// gallery <game-folder> <output-folder>: draws every screen of ZORBLATS with the game's own
// drawing code and the real content of a built game folder (the one holding data/), on
// SDL's dummy video driver, and writes each screen as <name>.bmp into the output folder.
// Screens that run an event loop are driven by a scripted host: it feeds them taps and
// saves the screen at the moment the screen waits for the next input.
#include <SDL/SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "frontend/game_over.h"
#include "frontend/high_scores.h"
#include "frontend/info_screens.h"
#include "frontend/keyboard.h"
#include "frontend/menu.h"
#include "frontend/message_box_screen.h"
#include "frontend/name_entry.h"
#include "frontend/options.h"
#include "frontend/run_state.h"
#include "game/bricks_stars.h"
#include "game/formation.h"
#include "game/game_loop.h"
#include "game/game_state.h"
#include "game/launcher.h"
#include "game/ship.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "resources/pack.h"
#include "settings/settings.h"
#include "text/font.h"
#include "tests/support/virtual_host.h"
#include "text/textbox.h"

namespace {

std::string outputFolder;
int savedCount = 0;

// Writes the screen as it stands to <output>/<name>.bmp; a failed write stops the tool.
void SaveScreen(const std::string& name) {
  const std::string path = outputFolder + "/" + name + ".bmp";
  if (SDL_SaveBMP(ScreenSurface, path.c_str()) != 0) {
    std::fprintf(stderr, "gallery: cannot write %s: %s\n", path.c_str(), SDL_GetError());
    std::exit(1);
  }
  std::printf("%s\n", name.c_str());
  ++savedCount;
}

// The tool's player on the virtual host (tests/support/virtual_host.h): its steps are taps and
// capture marks; a mark saves the screen when a screen asks for input and is passed over. A
// step is taken only once the game has looked at the queue and found it empty, so the events
// a screen drops as it shows are never the script's. With the steps used up the host closes
// the screen, so every screen comes back to the tool.
class Player {
 public:
  Player() {
    game.now = game.cursor = kStartMs;
    game.pollGraceMs = 0;
    game.onIdle = [this] { return Act(); };
    game.onWait = [this] { lookedEmpty = true; };
    game.onPoll = [this] {
      if (game.now - kStartMs > kLongestScreenMs) {
        std::fprintf(stderr, "gallery: a screen keeps polling after the script ended\n");
        std::exit(1);
      }
    };
    game.onDelay = [this](uint32_t) {
      if (!delayCapture.empty() && --delaysBeforeCapture == 0) {
        SaveScreen(delayCapture);
        delayCapture.clear();
      }
    };
  }

  // A tap (press and lift) at a screen point.
  void Tap(int x, int y) {
    Press(x, y);
    Lift(x, y);
  }
  void Press(int x, int y) { steps.push_back({Button(SDL_MOUSEBUTTONDOWN, x, y), "", false}); }
  void Lift(int x, int y) { steps.push_back({Button(SDL_MOUSEBUTTONUP, x, y), "", false}); }
  // Saves the screen under this name when a screen next asks for input.
  void Capture(const std::string& name) { steps.push_back({SDL_Event{}, name, false}); }
  // The same in the name entry, on a pass that shows the edit field's cursor.
  void CaptureWithCursor(const std::string& name) { steps.push_back({SDL_Event{}, name, true}); }
  // Saves the screen under this name during the n-th delay from now (n from 1), for the
  // sequences that pace themselves with delays rather than wait for input.
  void CaptureAtDelay(const std::string& name, int n) {
    delayCapture = name;
    delaysBeforeCapture = n;
  }
  // Drops what is left of the steps before the next screen and sets the clock back, so that
  // every screen starts at the same time. A capture that never came means a screen did not
  // wait where it was expected to: that stops the tool.
  void Reset() {
    for (const Step& step : steps) {
      if (!step.capture.empty()) Missed(step.capture);
    }
    if (!delayCapture.empty()) Missed(delayCapture);
    steps.clear();
    game.DropScript();
    game.now = game.cursor = kStartMs;
    lookedEmpty = false;
  }

  VirtualHost game;

 private:
  struct Step {
    SDL_Event event;
    std::string capture;       // not empty: a capture mark
    bool cursorShown = false;  // the mark waits for a pass that shows the cursor
  };
  static constexpr uint32_t kStartMs = 1000;
  static constexpr uint32_t kLongestScreenMs = 60000;

  static SDL_Event Button(uint8_t type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<uint16_t>(x);
    e.button.y = static_cast<uint16_t>(y);
    return e;
  }

  [[noreturn]] static void Missed(const std::string& name) {
    std::fprintf(stderr, "gallery: the screen %s was never drawn and waiting\n", name.c_str());
    std::exit(1);
  }

  // The next step for a game that asks for input; false when none is left.
  bool Act() {
    if (!lookedEmpty) {
      lookedEmpty = true;
      return true;
    }
    // The name entry blinks its cursor; a capture that wants it shown waits a pass or two.
    if (!steps.empty() && steps.front().cursorShown && (blinkCounter / 4) % 2 != 0) return true;
    while (!steps.empty() && !steps.front().capture.empty()) {
      SaveScreen(steps.front().capture);
      steps.pop_front();
    }
    if (steps.empty()) return false;
    game.cursor = game.now;
    game.Push(steps.front().event);
    steps.pop_front();
    lookedEmpty = false;
    return true;
  }

  std::deque<Step> steps;
  bool lookedEmpty = false;  // the game has found nothing waiting since the last event
  std::string delayCapture;
  int delaysBeforeCapture = 0;
};

Player player;

// A settings storage that keeps nothing: every save fails.
class RefusingStorage final : public SettingsStorage {
 public:
  bool Read(std::string&) override { return false; }
  bool Write(const uint8_t*, size_t) override { return false; }
};

// The settings every screen starts from: a table with names and scores, difficulty 1,
// sound off (the tool plays nothing).
SettingsRecord FixedSettings() {
  SettingsRecord s;
  const char* names[kHighScorePlaces] = {"Ada", "Moonrunner", "Brask", "Quill", "Jo"};
  const int32_t scores[kHighScorePlaces] = {2150, 1720, 960, 410, 85};
  for (int i = 0; i < kHighScorePlaces; ++i) {
    std::snprintf(s.highScoreNames[i], kNameFieldSize, "%s", names[i]);
    s.highScores[i] = scores[i];
  }
  s.difficulty = 1;
  s.soundOn = 0;
  return s;
}

// Every screen from a fresh start, with the fixed settings and a new script.
void FreshState() {
  ResetRunState();
  Settings = FixedSettings();
  player.Reset();
}

// The centre of the key that gives `code` in the small-key layer, on the screen.
void KeyCentre(char code, int& x, int& y) {
  for (const KeyboardKey& key : KeyTable) {
    if (key.normal == code) {
      x = kKeyboardOrigin.x + (key.area.left + key.area.right) / 2;
      y = kKeyboardOrigin.y + (key.area.top + key.area.bottom) / 2;
      return;
    }
  }
  std::fprintf(stderr, "gallery: no key for '%c'\n", code);
  std::exit(1);
}

// Taps one key of the on-screen keyboard.
void TapKey(char code) {
  int x = 0, y = 0;
  KeyCentre(code, x, y);
  player.Tap(x, y);
}

// The help text as the driver reads it, zero-terminated; kept for the whole run.
char* ReadStory(const std::string& gameFolder) {
  const std::string path = gameFolder + "/data/story";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    std::fprintf(stderr, "gallery: cannot read %s\n", path.c_str());
    std::exit(1);
  }
  std::string text;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// The start screen: entry 0 of the start-screen pack, blitted as the driver does.
void StartScreen() {
  PackFile pack(PackMode::Read);
  ImageSet set;
  pack.Load(set, "\\data\\0", 200000);
  if (set.Count() < 1) {
    std::fprintf(stderr, "gallery: data/0.pak holds no start screen\n");
    std::exit(1);
  }
  BlitImage(set.GetSurface(0), 0, 0);
  FlipScreen();
  SaveScreen("01-start-screen");
  set.FreeAll();
}

// A level in full swing: three enemy strengths, two explosions, shots both ways, worn
// bricks, falling stars and a gift on its way down. Everything is set directly, then the
// game draws one frame with UpdateAndDraw. `launcherCrossing` shows the launcher instead
// of the gift.
void SetUpPlayFrame(bool launcherCrossing) {
  StartNewGame();
  CurrentLevel = 6;  // level 7: three-hit enemies in the top row, two-hit ones below
  StartLevel(static_cast<int16_t>(CurrentLevel));
  Play.showBanner = 0;
  PlayerShip.score = 1375;
  PlayerShip.lives = 2;

  EnemyFormation.x = 22;
  EnemyFormation.y = 46;
  for (Enemy& e : Enemies) {
    e.fireTimer = 0;
    e.firePeriod = 1000000;  // no new shots: the ones in flight are placed below
  }
  // A few gaps shot into the block, two enemies bursting, the rest alive.
  for (int slot : {0, 7, 9, 26, 41, 42}) {
    Enemies[slot].alive = 0;
    Enemies[slot].cell = 0;
    EnemyFormation.liveCount -= 1;
  }
  for (int slot : {20, 44}) {
    Enemy& e = Enemies[slot];
    e.alive = 0;
    e.cell = 0;
    e.exploding = 1;
    e.frame = slot == 20 ? 1 : 3;
    EnemyFormation.liveCount -= 1;
  }
  // Some enemies a frame ahead in their animation.
  for (int slot = 1; slot < kFormationSlots; slot += 3) Enemies[slot].frame = 1;
  // Enemy shots falling (each moves 6 down before it is drawn).
  const int shooters[][2] = {{40, 178}, {45, 186}, {34, 160}};  // slot, top of the shot
  for (const auto& s : shooters) {
    Enemy& e = Enemies[s[0]];
    e.shot.inFlight = 1;
    e.shot.x = static_cast<int16_t>(EnemyFormation.x + kEnemyWidth * (s[0] % kFormationColumns) + 8);
    e.shot.y = static_cast<int16_t>(s[1]);
  }
  // The ship left of centre, its shot on the way up through a gap.
  PlayerShip.x = 96;
  PlayerShip.shot.inFlight = 1;
  PlayerShip.shot.x = static_cast<int16_t>(PlayerShip.x + 13);
  PlayerShip.shot.y = 176;
  // Worn and holed bricks.
  const int16_t wear[kBrickCount][kBrickCells] = {
      {kCellWorn, kCellWhole, kCellWhole, kCellGone, kCellWhole, kCellWhole, kCellWorn, kCellWhole},
      {kCellWhole, kCellWorn, kCellWorn, kCellWhole, kCellWhole, kCellGone, kCellWhole, kCellWhole},
      {kCellGone, kCellWhole, kCellWorn, kCellWhole, kCellWorn, kCellWhole, kCellWhole, kCellGone}};
  for (int b = 0; b < kBrickCount; ++b) {
    for (int c = 0; c < kBrickCells; ++c) Bricks[b].damage[c] = wear[b][c];
  }
  if (launcherCrossing) {
    Launcher.movingRight = 1;
    Launcher.x = 64;
    Launcher.y = kLauncherStartY;
  } else {
    Launcher.falling = 1;
    Launcher.kind = ExtraLife;
    Launcher.x = 153;  // in the gap between the middle and the right brick
    Launcher.y = 174;
  }
  // Let the stars fall a while so they spread over the whole field.
  for (int i = 0; i < 12; ++i) {
    for (Star& star : Stars) MoveStar(star);
  }
}

void PlayFrames() {
  FreshState();
  SetUpPlayFrame(false);
  UpdateAndDraw();
  SaveScreen("12-play");

  FreshState();
  SetUpPlayFrame(true);
  UpdateAndDraw();
  SaveScreen("13-play-launcher");

  // The ship hit: its explosion square by square over the frame, seen at the third of five.
  FreshState();
  SetUpPlayFrame(false);
  UpdateAndDraw();
  player.CaptureAtDelay("20-ship-explosion", 3);
  PlayShipExplosion();

  // The first frame of a new game carries the level banner; it stays on the screen.
  FreshState();
  StartNewGame();
  UpdateAndDraw();
  SaveScreen("14-level-banner");

  // The last life lost: the game-over picture over the final frame. The score earns no
  // place, so no name entry follows.
  FreshState();
  SetUpPlayFrame(false);
  PlayerShip.lives = 0;
  PlayerShip.score = 48;
  UpdateAndDraw();
  RunGameOverScreen();
  SaveScreen("19-game-over");
}

void FrontEnd() {
  FreshState();
  DrawMainMenu(false);
  SaveScreen("02-main-menu");
  DrawMainMenu(true);
  SaveScreen("03-main-menu-resume");

  FreshState();
  Settings.soundOn = 1;
  DrawOptionsScreen();
  SaveScreen("04-options");

  FreshState();
  DrawHighScoreScreen();
  SaveScreen("05-high-scores");

  // Help pages 0 to 3, turned with the Next button.
  FreshState();
  HelpBox.currentPage = 0;
  for (int page = 0; page < 4; ++page) {
    player.Capture("0" + std::to_string(6 + page) + "-help-page-" + std::to_string(page));
    if (page < 3) player.Tap(190, 300);
  }
  RunHelpScreen();
  HelpBox.currentPage = 0;

  FreshState();
  player.Capture("10-about");
  RunAboutScreen();

  FreshState();
  player.Capture("11-support");
  RunSupportScreen();

  // The reset question over the high-score table; the quit that follows answers No.
  FreshState();
  player.Tap(160, 219);
  player.Capture("18-reset-question");
  RunHighScoreScreen();

  // Hard and sound on left in the options, and the save refused (a full disk, a browser that
  // keeps nothing): the box over the options.
  FreshState();
  Settings.difficulty = 2;
  Settings.soundOn = 1;
  DrawOptionsScreen();
  RefusingStorage refusing;
  UseSettingsStorage(&refusing);
  player.Capture("21-settings-error");
  SaveSettings();
  UseSettingsStorage(nullptr);
}

void NameEntry() {
  // A score of 1200 takes place 2 (the third row); "Nova" typed so far, the first letter
  // with a one-shot Shift.
  FreshState();
  TapKey(kShiftKey);
  for (char c : std::string("nova")) TapKey(c);
  player.CaptureWithCursor("15-name-entry");
  EnterHighScore(1200);

  // Caps on: the large keys, with "ZAP" typed.
  FreshState();
  TapKey(kCapsKey);
  for (char c : std::string("zap")) TapKey(c);
  player.CaptureWithCursor("16-name-entry-large-keys");
  EnterHighScore(1200);

  // A key held down: the pushed picture under the stylus.
  FreshState();
  for (char c : std::string("ki")) TapKey(c);
  int x = 0, y = 0;
  KeyCentre('m', x, y);
  player.Press(x, y);
  player.Capture("17-name-entry-key-pressed");
  player.Lift(x, y);
  EnterHighScore(1200);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gallery <game-folder holding data/> <output-folder>\n");
    return 2;
  }
  const std::string gameFolder = argv[1];
  outputFolder = argv[2];
  struct stat info {};
  if (stat((gameFolder + "/data/1.pak").c_str(), &info) != 0) {
    std::fprintf(stderr, "gallery: %s/data/1.pak not found; build the game first\n", gameFolder.c_str());
    return 1;
  }
  if (mkdir(outputFolder.c_str(), 0755) != 0 && stat(outputFolder.c_str(), &info) != 0) {
    std::fprintf(stderr, "gallery: cannot make %s\n", outputFolder.c_str());
    return 1;
  }

  // The packs and sounds come from the game folder; the settings the screens save go to a
  // scratch data folder, so the game's own zorblats.set is never touched.
  char scratch[] = "/tmp/zorblats-gallery-XXXXXX";
  if (!mkdtemp(scratch)) {
    std::fprintf(stderr, "gallery: cannot make a scratch folder\n");
    return 1;
  }
  std::snprintf(ExeDir, sizeof ExeDir, "%s/", gameFolder.c_str());
  std::snprintf(DataDir, sizeof DataDir, "%s/data\\", scratch);
  mkdir((std::string(scratch) + "/data").c_str(), 0755);
  // The help text's pictures are named relative to the game folder.
  if (chdir(gameFolder.c_str()) != 0) {
    std::fprintf(stderr, "gallery: cannot enter %s\n", gameFolder.c_str());
    return 1;
  }

  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "gallery: SDL_Init failed: %s\n", SDL_GetError());
    return 1;
  }
  ScreenSurface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 16, SDL_SWSURFACE);
  if (!ScreenSurface) {
    std::fprintf(stderr, "gallery: no 240 x 320 screen: %s\n", SDL_GetError());
    return 1;
  }
  UseHostInput(&player.game);
  Settings = FixedSettings();

  StartScreen();
  LoadImages();
  SelectFont(kFontWhite);
  InstallDrawnMessageBox();
  PrepareHelpBox(HelpBox);
  HelpBox.SetText(ReadStory(gameFolder));

  FrontEnd();
  PlayFrames();
  NameEntry();
  player.Reset();

  std::system(("rm -rf '" + std::string(scratch) + "'").c_str());
  SDL_Quit();
  std::fprintf(stderr, "gallery: %d screens written to %s\n", savedCount, outputFolder.c_str());
  return 0;
}
