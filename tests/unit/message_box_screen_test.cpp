// The message box drawn over the game's screen: its answers by tap and by key, the text
// wrapped to the panel, buttons drawn where they answer, and the screen given back after.
#include "frontend/message_box_screen.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "tests/support/harness.h"
#include "tests/support/screen_watch.h"
#include "text/font.h"

namespace {

constexpr uint16_t kWhite = 0xFFFF;

class DrawnBoxTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    InstallSyntheticImages();
    // A busy screen underneath: every pixel its own value.
    for (int y = 0; y < 320; ++y)
      for (int x = 0; x < 240; ++x) FillRect(ScreenSurface, x, y, 1, 1, static_cast<uint16_t>(x * 7 + y * 131));
    before = Snapshot();
    InstallDrawnMessageBox();
    UseHostInput(&watch);
  }
  std::vector<uint32_t> Snapshot() const {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 320; ++y)
      for (int x = 0; x < 240; ++x) pixels.push_back(ScreenPixel(x, y));
    return pixels;
  }
  static int32_t Centre(int32_t a, int32_t b) { return (a + b) / 2; }
  int Ask(int style) { return ShowMessageBox(kText, "Caption", style); }

  static constexpr const char* kText = "Do you really want to reset your high scores?";
  WatchingHost watch{host};
  std::vector<uint32_t> before;
};

TEST_F(DrawnBoxTest, TapsOnTheButtonsAnswer) {
  const MessageBoxLayout yesNo = LayOutMessageBox(kText, MB_YESNO);
  ASSERT_EQ(yesNo.buttonCount, 2);
  const Rect yes = yesNo.buttons[0], no = yesNo.buttons[1];

  host.Press(Centre(yes.left, yes.right), Centre(yes.top, yes.bottom));
  EXPECT_EQ(Ask(MB_YESNO), IDYES);
  host.Press(no.left, no.top);
  EXPECT_EQ(Ask(MB_YESNO), IDNO);
  host.Press(yes.right - 1, yes.bottom - 1);
  EXPECT_EQ(Ask(MB_YESNO), IDYES);

  // Taps beside the buttons, on the panel and off it, are not answers.
  host.Press(yes.right, yes.top).Press(no.left - 1, no.top).Press(yes.left, yes.bottom);
  host.Press(yesNo.panel.left + 3, yesNo.panel.top + 3).Press(5, 5).Release(no.left, no.top);
  host.Press(no.right - 1, no.bottom - 1);
  EXPECT_EQ(Ask(MB_YESNO), IDNO);
  EXPECT_EQ(host.Pending(), 0u);

  const MessageBoxLayout ok = LayOutMessageBox(kText, MB_OK);
  ASSERT_EQ(ok.buttonCount, 1);
  host.Press(ok.buttons[0].right, ok.buttons[0].top).Press(ok.buttons[0].left, ok.buttons[0].top);
  EXPECT_EQ(Ask(MB_OK), IDOK);
  EXPECT_EQ(host.Pending(), 0u) << "the tap beside OK did not answer";
}

TEST_F(DrawnBoxTest, KeysAnswer) {
  host.KeyDown(SDLK_a).KeyDown(SDLK_SPACE).KeyDown(SDLK_RETURN);
  EXPECT_EQ(Ask(MB_YESNO), IDYES);
  EXPECT_EQ(host.Pending(), 0u);
  host.KeyDown(SDLK_y);
  EXPECT_EQ(Ask(MB_YESNO), IDYES);
  host.KeyDown(SDLK_ESCAPE);
  EXPECT_EQ(Ask(MB_YESNO), IDNO);
  host.KeyDown(SDLK_n);
  EXPECT_EQ(Ask(MB_YESNO), IDNO);
  host.KeyUp(SDLK_y).KeyDown(SDLK_n);
  EXPECT_EQ(Ask(MB_YESNO), IDNO) << "a key's release is no answer";
  host.Quit();
  EXPECT_EQ(Ask(MB_YESNO), IDNO);

  host.KeyDown(SDLK_RETURN);
  EXPECT_EQ(Ask(MB_OK), IDOK);
  host.KeyDown(SDLK_ESCAPE);
  EXPECT_EQ(Ask(MB_OK), IDOK);
  host.Quit();
  EXPECT_EQ(Ask(MB_OK), IDOK);
}

TEST_F(DrawnBoxTest, BoxIsDrawnOverTheScreenAndTheScreenComesBack) {
  const MessageBoxLayout layout = LayOutMessageBox(kText, MB_YESNO);
  std::vector<uint32_t> during;
  watch.beforeWait = [&] { during = Snapshot(); };
  host.KeyDown(SDLK_n);
  EXPECT_EQ(Ask(MB_YESNO), IDNO);
  ASSERT_FALSE(during.empty());
  auto at = [&](int x, int y) { return during[static_cast<size_t>(y) * 240 + x]; };
  auto ink = [&](const Rect& r) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) count += at(x, y) == kWhite;
    return count;
  };

  // Outside the panel the screen is untouched; the panel's corners are its frame.
  EXPECT_EQ(at(2, 2), before[2 * 240 + 2]);
  EXPECT_EQ(at(2, 318), before[318 * 240 + 2]);
  const uint32_t frame = at(layout.panel.left, layout.panel.top);
  EXPECT_EQ(at(layout.panel.right - 1, layout.panel.bottom - 1), frame);
  EXPECT_NE(at(layout.panel.left + 10, layout.panel.bottom - 4), frame) << "the face inside";
  // The caption and every text line carry ink; the two buttons are framed and labelled.
  EXPECT_GT(ink(layout.title), 0);
  ASSERT_GE(layout.lineCount, 2) << "this text needs more than one line in 184 pixels";
  for (int i = 0; i < layout.lineCount; ++i) {
    const int top = layout.textTop + i * layout.lineStep;
    EXPECT_GT(ink(Rect{layout.panel.left, top, layout.panel.right, top + layout.lineStep}), 0)
        << "line " << i;
  }
  for (int i = 0; i < 2; ++i) {
    const Rect& b = layout.buttons[i];
    EXPECT_EQ(at(b.left, b.top), frame) << "button " << i;
    EXPECT_EQ(at(b.right - 1, b.bottom - 1), frame) << "button " << i;
    EXPECT_NE(at(b.left - 1, b.top), frame) << "button " << i << " ends where it answers";
    EXPECT_GT(ink(b), 0) << "button " << i;
  }
  // "Yes" is three glyphs, "No" two: 15 and 10 pixels of ink in each ink row of the font.
  EXPECT_EQ(ink(layout.buttons[0]), 15 * 5);
  EXPECT_EQ(ink(layout.buttons[1]), 10 * 5);

  EXPECT_EQ(Snapshot(), before) << "the screen under the box is restored";
}

TEST_F(DrawnBoxTest, TextWrapsAtSpacesAndNewlines) {
  SelectFont(kFontWhite);
  MessageLine lines[kMessageMaxLines];
  const char* text = "Do you really want to reset your high scores?";
  const int32_t n = WrapMessageText(text, 100, lines, kMessageMaxLines);
  ASSERT_GE(n, 3);
  std::string joined;
  for (int32_t i = 0; i < n; ++i) {
    const std::string line(lines[i].start, static_cast<size_t>(lines[i].length));
    EXPECT_LE(MeasureText(lines[i].start, lines[i].length), 100) << line;
    EXPECT_NE(line.front(), ' ');
    EXPECT_NE(line.back(), ' ');
    if (i + 1 < n) {
      // The next word would not have fitted.
      const char* next = lines[i + 1].start;
      int32_t word = 0;
      while (next[word] && next[word] != ' ') ++word;
      EXPECT_GT(MeasureText(lines[i].start, lines[i].length) + 4 + MeasureText(next, word), 100) << line;
    }
    joined += (i ? " " : "") + line;
  }
  EXPECT_EQ(joined, text);

  EXPECT_EQ(WrapMessageText("One\nTwo\n\nFour", 184, lines, kMessageMaxLines), 4);
  EXPECT_EQ(std::string(lines[1].start, lines[1].length), "Two");
  EXPECT_EQ(lines[2].length, 0);
  EXPECT_EQ(WrapMessageText("", 184, lines, kMessageMaxLines), 0);

  // Runs of spaces at a break stay on neither line.
  EXPECT_EQ(WrapMessageText("aaaa   bbbb", 40, lines, kMessageMaxLines), 2);
  EXPECT_EQ(std::string(lines[0].start, lines[0].length), "aaaa");
  EXPECT_EQ(std::string(lines[1].start, lines[1].length), "bbbb");

  // A word wider than the line is cut: 5-pixel glyphs, 20 to a 100-pixel line.
  const std::string word(50, 'w');
  EXPECT_EQ(WrapMessageText(word.c_str(), 100, lines, kMessageMaxLines), 3);
  EXPECT_EQ(lines[0].length, 20);
  EXPECT_EQ(lines[2].length, 10);
  EXPECT_EQ(WrapMessageText(word.c_str(), 100, lines, 2), 2) << "no more lines than asked";
}

TEST_F(DrawnBoxTest, LongTextStaysOnTheScreen) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "many words in this message\n";
  const MessageBoxLayout layout = LayOutMessageBox(text.c_str(), MB_OK);
  EXPECT_EQ(layout.lineCount, kMessageMaxLines);
  EXPECT_GE(layout.panel.top, 0);
  EXPECT_LE(layout.panel.bottom, 320);
  EXPECT_LE(layout.buttons[0].bottom, layout.panel.bottom);
  host.KeyDown(SDLK_RETURN);
  EXPECT_EQ(ShowMessageBox(text.c_str(), "Long", MB_OK), IDOK);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(DrawnBoxTest, WithoutTheFontTheMessageGoesToStandardError) {
  Images[kFontWhite] = nullptr;
  host.KeyDown(SDLK_RETURN);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Ask(MB_YESNO), IDNO);
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(printed.find(kText), std::string::npos);
  EXPECT_EQ(host.Pending(), 1u) << "no event is taken";
  EXPECT_EQ(Snapshot(), before);
}

}  // namespace
