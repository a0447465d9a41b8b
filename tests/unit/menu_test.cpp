// The front-end screens run for real: every touch area tapped just inside and just outside
// its edges (one table, one loop), what waits when a screen shows and the keys each screen and
// the name entry take, the flows between screens, help pages, the options marks,
// the high-score table and its reset behind the drawn question box.
#include "frontend/menu.h"

#include "frontend/high_scores.h"
#include "frontend/info_screens.h"
#include "frontend/message_box_screen.h"
#include "frontend/options.h"
#include "tests/support/harness.h"

enum Screen { Menu, Paused, Options, Scores, Help, About, Support, Entry, Question };
using Points = std::vector<std::pair<int, int>>;

// An area and the outcome of a tap inside it (see Run); a tap outside gives what a miss gives.
const int kMarkRows[] = {81, 108, 136, 210, 244};  // difficulty 0, 1, 2, sound on, off
const struct Area {
  Screen screen;
  Rect area;
  const char* inside;
  int16_t page = 2; /* help page at first */
} kAreas[] = {
    {Menu, {37, 60, 204, 83}, "1 M"},
    {Menu, {37, 94, 204, 117}, "3 MO4M saved"},
    {Menu, {37, 127, 204, 150}, "3 MH2M"},
    {Menu, {37, 157, 204, 180}, "3 MTM"},
    {Menu, {37, 195, 204, 218}, "3 MAM"},
    {Menu, {37, 228, 204, 251}, "3 M"},
    {Menu, {55, 24, 185, 54}, "3 MM"},
    {Paused, {55, 24, 185, 54}, "2 Mr"},
    {Paused, {37, 94, 204, 117}, "3 MrO4Mr saved"},
    {Options, {21, 81, 36, 96}, "3 O4O04 d0 saved"},
    {Options, {21, 108, 36, 123}, "3 O4O14 d1 saved"},
    {Options, {21, 136, 36, 151}, "3 O4O24 d2 saved"},
    {Options, {21, 210, 36, 225}, "3 O4O3 s1 saved"},
    {Options, {21, 244, 36, 259}, "3 O4O4 saved"},
    {Options, {6, 290, 57, 318}, "1 O4 saved"},
    {Scores, {20, 209, 65, 229}, "1 T"},
    {Scores, {123, 209, 200, 229}, "3 TT saved box"},
    {Help, {50, 288, 109, 323}, "3 H2H1 p1"},
    {Help, {160, 288, 219, 323}, "3 H2H3 p3"},
    {Help, {95, 290, 146, 318}, "1 H0", 0},
    {Help, {160, 288, 219, 323}, "1 H3 p0", 3},  // Next to the last page closes
    {About, {4, 288, 68, 313}, "1 A"},
    {About, {80, 288, 163, 314}, "2 A"},
    {Support, {4, 288, 68, 313}, "1 S"},
    {Entry, {20, 209, 65, 229}, "1"},
    {Entry, {24, 252, 41, 269}, "3 nq"},  // the q key: a tap beside it types another
};

class Screens : public ScreenTest {
 protected:
  // Runs a screen on presses made after it shows, each once the screen before it showed, then
  // on `keys`, then a quit event; `queued` are taps made before the screen shows, and `key` is
  // pressed then and with every press (before the screen the press leads to shows). The outcome
  // reads "result waits changes": the screen at each wait (M menu, r its resume button, O options
  // and its marked rows, T scores, A about, S support, H help and the page shown), then what
  // changed (n the name typed, d difficulty and s sound from 3 and off, p help page, box: a
  // question was asked, saved: the settings file). The question is the drawn box's.
  std::string Run(Screen screen, const Points& presses, int16_t page = 2, SDLKey key = SDLK_UNKNOWN,
                  const Points& queued = {}, const std::vector<SDL_keysym>& keys = {}) {
    for (SDL_Event leftover; host.Pending();) host.PollEvent(&leftover);
    Settings.difficulty = 3;
    Settings.soundOn = 0;
    HelpBox.SetText(story.c_str());
    std::vector<std::string> pages;
    for (HelpBox.currentPage = 0; HelpBox.currentPage <= HelpBox.lastPage; ++HelpBox.currentPage) {
      HelpBox.DrawBox();
      pages.push_back(EncodeFrame(ScreenSurface));
    }
    HelpBox.currentPage = page;
    boxes.shown.clear();
    std::remove((folder + "data/zorblats.set").c_str());
    std::string waits, out;
    onWait = [&] {
      const int ids[] = {kMainMenu, kOptions, kScores, kAbout, kSupport};
      for (int k = 0; k < 5; ++k)
        if (ReadPixel(232, 4, Images[ids[k]]) == ReadPixel(232, 4, ShownScreen()))
          waits += "MOTAS"[k];
      for (size_t k = 0; k < pages.size(); ++k)
        if (pages[k] == EncodeFrame(ShownScreen())) waits += "H" + std::to_string(k);
      if (ReadPixel(60, 30, ShownScreen()) == ReadPixel(5, 6, Images[kResumeButton])) waits += 'r';
      for (int row = 0; row < 5; ++row)
        if (Shows(Images[kRadio], 21, kMarkRows[row])) waits += char('0' + row);
    };
    host.cursor = host.now;
    if (key) host.KeyDown(key, key == SDLK_SPACE ? ' ' : 0);  // a Space types a space
    for (auto [x, y] : queued) host.Press(x, y);
    host.cursor = host.now + 1;
    for (auto [x, y] : presses) (key ? host.Press(x, y).KeyDown(key) : host.Press(x, y)).Wait(1);
    for (const SDL_keysym& k : keys) host.Push({.key = {SDL_KEYDOWN, 0, SDL_PRESSED, k}}).Wait(1);
    host.Quit();
    PlaceEditField(0);
    if (screen == Question) InstallDrawnMessageBox();
    char name[20] = {};
    const int result = screen == Question  ? ShowMessageBox("Sure?", "Question", MB_YESNO)
                       : screen == Menu    ? RunMainMenu(false)
                       : screen == Paused  ? RunMainMenu(true)
                       : screen == Options ? RunOptionsScreen()
                       : screen == Scores  ? RunHighScoreScreen()
                       : screen == Help    ? RunHelpScreen()
                       : screen == About   ? RunAboutScreen()
                       : screen == Support ? RunSupportScreen()
                                           : RunNameEntry(name, 10);
    onWait = nullptr;
    UseMessageBoxHandler(&boxes);
    if (name[0]) out += " n" + std::string(name);
    if (Settings.difficulty != 3) out += " d" + std::to_string(Settings.difficulty);
    if (Settings.soundOn != 0) out += " s" + std::to_string(Settings.soundOn);
    if (HelpBox.currentPage != page) out += " p" + std::to_string(HelpBox.currentPage);
    if (!ReadFileBytes(folder + "data/zorblats.set").empty()) out += " saved";
    return std::to_string(result) + (waits.empty() ? "" : " " + waits) + out +
           (boxes.shown.empty() ? "" : " box");
  }
  // Lines of nine lengths, so that every page looks different.
  static std::string Lines(int n) {
    return n ? Lines(n - 1) + "Line " + std::string(1 + n % 9, 'x') + "\n" : "";
  }
  std::string story = Lines(90);
};

TEST_F(Screens, EveryAreaTakesItsLeftAndTopEdgesButNotItsRightAndBottomEdges) {
  for (const Area& a : kAreas) {
    const Rect& r = a.area;
    const std::string miss = Run(a.screen, {{0, 0}}, a.page);
    for (Points tap : {Points{{r.left, r.top}}, {{r.right - 1, r.bottom - 1}}})
      EXPECT_EQ(Run(a.screen, tap, a.page), a.inside) << tap[0].first << "," << tap[0].second;
    for (auto [x, y] : {std::pair{r.left - 1, r.top},
                        {r.left, r.top - 1},
                        {r.right, r.bottom - 1},
                        {r.right - 1, r.bottom}}) {
      const std::string outside = Run(a.screen, {{x, y}}, a.page);
      EXPECT_TRUE(a.screen == Entry ? outside != a.inside : outside == miss) << outside;
    }
  }
}

// What waits when a screen shows (a key pressed before the first screen shows and with every
// press, so also as the screen that press opens or goes back to shows; taps queued before):
// the main menu drops taps and keys, the other screens drop the keys and take the taps. Then
// the keys each screen takes, pressed once it shows (the first key that moves the mark only
// shows it, on the first button): Shift+Tab marks the button before, keypad Enter presses,
// Escape resumes a paused game only, Left takes the option and the help page before. The
// question answers Yes (6) to y and keypad Enter, No (7) to n and Escape; with the mark
// showing, Return presses the marked button. In the name entry characters type themselves, Tab
// walks the on-screen keys (the first shows the mark on a), Space without a character presses
// the key walked to, keypad Enter and Escape end the entry.
TEST_F(Screens, WhatWaitsWhenAScreenShowsAndTheKeysEachScreenTakes) {
  const auto key = [](SDLKey sym, SDLMod mod = KMOD_NONE) { return SDL_keysym{0, sym, mod, 0}; };
  const auto typed = [](char c) { return SDL_keysym{0, SDLKey(c), KMOD_NONE, uint16_t(c)}; };
  const SDL_keysym repeat{0, SDLK_UNKNOWN, KMOD_NONE, ' '};  // the desktop repeats the character
  const SDL_keysym tab = key(SDLK_TAB), enter = key(SDLK_KP_ENTER), escape = key(SDLK_ESCAPE),
                   down = key(SDLK_DOWN), left = key(SDLK_LEFT), ret = key(SDLK_RETURN);
  const struct {
    Screen screen;
    SDLKey held;
    Points queued, presses;
    std::vector<SDL_keysym> keys;
    const char* outcome;
  } kCases[] = {
      {Menu, SDLK_RETURN, {{40, 70}}, {}, {}, "3 M"},                           // New game
      {Paused, SDLK_ESCAPE, {}, {{40, 100}, {10, 300}}, {}, "3 MrO4Mr saved"},  // options, back
      {Options, SDLK_ESCAPE, {{25, 140}}, {}, {}, "3 O24 d2 saved"},            // difficulty 2
      {Scores, SDLK_ESCAPE, {{130, 215}}, {}, {}, "3 T saved box"},             // reset: No
      {Help, SDLK_RIGHT, {{170, 300}}, {}, {}, "3 H3 p3"},                      // next page
      {About, SDLK_ESCAPE, {{90, 300}}, {}, {}, "2"},                           // support
      {Menu, {}, {}, {}, {tab, key(SDLK_TAB, KMOD_LSHIFT), enter}, "3 MMM"},    // Exit
      {Menu, {}, {}, {}, {tab, tab, enter}, "3 MMMO4M saved"},                  // Options
      {Menu, {}, {}, {}, {escape}, "3 MM"},
      {Paused, {}, {}, {}, {escape}, "2 Mr"},
      {Options, {}, {}, {}, {tab, down, down, left}, "3 O4O4O4O4O14 d1 saved"},  // the second row
      {Help, {}, {}, {}, {left}, "3 H2H1 p1"},
      {Question, {}, {}, {}, {key(SDLK_y)}, "6"},
      {Question, {}, {}, {}, {enter}, "6"},
      {Question, {}, {}, {}, {key(SDLK_n)}, "7"},
      {Question, {}, {}, {}, {escape}, "7"},
      {Question, {}, {}, {}, {down, ret}, "6"},
      {Question, {}, {}, {}, {down, key(SDLK_RIGHT), ret}, "7"},
      {Entry, {}, {}, {}, {typed('x'), tab, tab, key(SDLK_SPACE), enter}, "1 nxs"},
      {Entry, {}, {}, {}, {typed('y'), escape, typed('z')}, "1 ny"},
      // Held from before, a Space's repeated character types nothing (nor does the Space); one
      // pressed on the entry types, and so does its repeat.
      {Entry, SDLK_SPACE, {}, {}, {repeat, typed(' '), repeat, typed('q'), enter}, "1 n  q"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(Run(c.screen, c.presses, 2, c.held, c.queued, c.keys), c.outcome) << c.screen;
}

TEST_F(Screens, TheTableAndItsResetAnsweredOnTheDrawnBox) {
  // Place 1 has no zero.
  const char* names[] = {"Ann", "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk", "Cy", "Dee", ""};
  const int32_t scores[] = {900, 700, 0, -3, 0};
  std::memcpy(Settings.highScores, scores, sizeof scores);
  for (int i = 0; i < 5; ++i) std::strncpy(Settings.highScoreNames[i], names[i], kNameFieldSize);
  InstallDrawnMessageBox();
  const Rect no =
      LayOutMessageBox("Do you really want to reset your high scores?", MB_YESNO).buttons[1];
  std::vector<std::string> shown;
  std::string saved;
  onWait = [&] {
    shown.push_back(EncodeFrame(ShownScreen()));
    saved += ReadFileBytes(folder + "data/zorblats.set").empty() ? '-' : 's';
  };
  // Each event comes once the one before has been answered; the Return pressed with the first
  // tap on Reset, before the question shows, answers nothing.
  host.Wait(1).Press(150, 220).KeyDown(SDLK_RETURN).Wait(1).Press(no.left, no.top).Wait(1);
  host.Press(150, 220).Wait(1).Quit().Wait(1);
  host.Press(150, 220).Wait(1).KeyDown(SDLK_RETURN).Wait(1).Press(30, 220);
  EXPECT_EQ(RunHighScoreScreen(), 1);
  // The table (rows at y 86 + 22 i with 1-5, the names and the scores but 0), the question over
  // it, answered No by a tap and a quit event, then Yes by Return: the table cleared. Every
  // answer saves.
  const char* kWaits[] = {"table", "question", "table", "question", "table", "question", "cleared"};
  ASSERT_EQ(shown.size(), std::size(kWaits));
  for (size_t i = 0; i < shown.size(); ++i)
    EXPECT_TRUE(IsGoldenPicture(std::string("scores-") + kWaits[i], shown[i])) << "wait " << i;
  EXPECT_EQ(saved, "--sssss");
  const std::vector<uint8_t> file = ReadFileBytes(folder + "data/zorblats.set");
  for (int place = 0; place < 5; ++place)  // only first bytes go
    EXPECT_EQ(file.at(6 + 30 * place), 0) << place;
  EXPECT_EQ(file.at(7), 'n');
}
