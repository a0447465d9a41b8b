#include "frontend/message_box_screen.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "frontend/focus.h"
#include "frontend/screen_events.h"
#include "platform/message_box.h"
#include "resources/draw.h"
#include "resources/images.h"
#include "text/font.h"

namespace {

constexpr int32_t kPadding = 8;        // between the frame and the text
constexpr int32_t kFrame = 2;          // the panel's light frame
constexpr int32_t kButtonWidth = 56;
constexpr int32_t kButtonGap = 20;     // between Yes and No
constexpr int32_t kSpaceWidth = 4;     // a space in the game's fonts

// The colours of the painted panels and buttons (content/palette.txt): a night-blue
// panel in a steel frame, a steel-blue title bar, and buttons with the painted buttons'
// navy face, lit along the top and shaded along the bottom.
struct Colour {
  uint8_t r, g, b;
};
constexpr Colour kPanelFace{20, 20, 58};       // night
constexpr Colour kPanelFrame{82, 106, 158};    // steel
constexpr Colour kOutline{10, 10, 30};         // space
constexpr Colour kTitleFace{44, 60, 104};      // steeldark
constexpr Colour kButtonFace{44, 60, 104};     // steeldark
constexpr Colour kButtonLit{142, 166, 214};    // steellight
constexpr Colour kButtonShade{38, 30, 90};     // dusk

int32_t FontHeight() {
  const SDL_Surface* font = Images[kFontWhite];
  return font ? font->h : 0;
}

void Fill(const Rect& r, Colour c) {
  SDL_Rect area{static_cast<Sint16>(r.left), static_cast<Sint16>(r.top),
                static_cast<Uint16>(r.right - r.left), static_cast<Uint16>(r.bottom - r.top)};
  SDL_FillRect(ScreenSurface, &area, SDL_MapRGB(ScreenSurface->format, c.r, c.g, c.b));
}

// A face with a frame `thickness` wide inside the rectangle's edges.
void FramedBox(const Rect& r, Colour face, Colour frame, int32_t thickness) {
  Fill(r, frame);
  Fill(Rect{r.left + thickness, r.top + thickness, r.right - thickness, r.bottom - thickness}, face);
}

// Draws `length` bytes of text with DrawText (which wants a zero-terminated string).
void DrawPart(const char* text, int32_t length, int32_t x, int32_t y) {
  char line[256];
  const int32_t n = std::min<int32_t>(length, sizeof line - 1);
  std::memcpy(line, text, static_cast<size_t>(n));
  line[n] = 0;
  DrawText(line, x, y, kFontWhite);
}

void DrawCentred(const char* label, const Rect& r) {
  const int32_t length = static_cast<int32_t>(std::strlen(label));
  const int32_t x = r.left + (r.right - r.left - MeasureText(label, length)) / 2;
  const int32_t y = r.top + (r.bottom - r.top - FontHeight()) / 2;
  DrawPart(label, length, x, y);
}

void DrawBox(const MessageBoxLayout& layout, const char* caption, int style) {
  const Rect& p = layout.panel;
  Fill(Rect{p.left - 1, p.top - 1, p.right + 1, p.bottom + 1}, kOutline);
  FramedBox(p, kPanelFace, kPanelFrame, kFrame);
  Fill(layout.title, kTitleFace);

  // The caption: one line, cut to the panel's width.
  MessageLine title{};
  const int32_t innerWidth = kMessageBoxWidth - 2 * kPadding;
  if (caption && WrapMessageText(caption, innerWidth, &title, 1) == 1) {
    DrawPart(title.start, title.length, layout.title.left + kPadding - kFrame,
             layout.title.top + (layout.title.bottom - layout.title.top - FontHeight()) / 2);
  }
  for (int32_t i = 0; i < layout.lineCount; ++i) {
    DrawPart(layout.lines[i].start, layout.lines[i].length, p.left + kPadding,
             layout.textTop + i * layout.lineStep);
  }
  const char* labels[2] = {"Yes", "No"};
  if (style != MB_YESNO) labels[0] = "OK";
  for (int32_t i = 0; i < layout.buttonCount; ++i) {
    const Rect& b = layout.buttons[i];
    FramedBox(b, kButtonFace, kPanelFrame, 1);
    Fill(Rect{b.left + 1, b.top + 1, b.right - 1, b.top + 2}, kButtonLit);
    Fill(Rect{b.left + 2, b.bottom - 2, b.right - 1, b.bottom - 1}, kButtonShade);
    Fill(Rect{b.right - 2, b.top + 2, b.right - 1, b.bottom - 1}, kButtonShade);
    DrawCentred(labels[i], layout.buttons[i]);
  }
  FlipScreen();
}

int WaitForAnswer(const MessageBoxLayout& layout, const char* caption, int style) {
  const bool yesNo = style == MB_YESNO;
  const int yes = yesNo ? IDYES : IDOK;
  const int no = yesNo ? IDNO : IDOK;
  int marked = -1;
  for (;;) {
    SDL_Event event;
    WaitForScreenEvent(event);
    switch (event.type) {
      case SDL_QUIT:
        return no;
      case SDL_KEYDOWN: {
        // With the mark showing Enter and Space press the marked button; the side by side
        // buttons take Left and Right as well as Up, Down and Tab.
        const NavKey key = AlongRow(ReadNavKey(event));
        if (key == NavKey::Press && marked >= 0) return marked == 0 ? yes : no;
        if (key == NavKey::Back) return no;
        const SDLKey sym = event.key.keysym.sym;
        if (sym != SDLK_RETURN && sym != SDLK_KP_ENTER && MoveFocus(marked, layout.buttonCount, key)) {
          DrawBox(layout, caption, style);
          ShowFocusMark(layout.buttons, marked);
          break;
        }
        switch (sym) {
          case SDLK_RETURN:
          case SDLK_KP_ENTER:
          case SDLK_y:
            return yes;
          case SDLK_n:
            return no;
          default:
            break;
        }
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
        for (int32_t i = 0; i < layout.buttonCount; ++i) {
          if (PtInRect(layout.buttons[i], event.button.x, event.button.y)) return i == 0 ? yes : no;
        }
        break;
      default:
        break;
    }
  }
}

class DrawnMessageBox final : public MessageBoxHandler {
 public:
  int Show(const char* text, const char* caption, int style) override {
    if (!ScreenSurface || !Images[kFontWhite]) {
      std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
      return style == MB_YESNO ? IDNO : IDOK;
    }
    const int32_t previousFont = CurrentFont;

    // What lay under the box comes back when it is answered.
    SDL_Surface* under = SDL_ConvertSurface(ScreenSurface, ScreenSurface->format, SDL_SWSURFACE);
    const MessageBoxLayout layout = LayOutMessageBox(text ? text : "", style);
    DrawBox(layout, caption, style);
    StartScreenInput();
    const int answer = WaitForAnswer(layout, caption, style);
    if (under) {
      SDL_BlitSurface(under, nullptr, ScreenSurface, nullptr);
      SDL_FreeSurface(under);
    }
    FlipScreen();
    if (previousFont != -1 && previousFont != kFontWhite) SelectFont(previousFont);
    return answer;
  }
};

DrawnMessageBox drawnBox;

}  // namespace

int32_t MeasureText(const char* text, int32_t length) {
  int32_t width = 0;
  for (int32_t i = 0; i < length; ++i) {
    const uint8_t ch = static_cast<uint8_t>(text[i]);
    int32_t sourceX = 0, glyphWidth = 0;
    if (ch == ' ') {
      width += kSpaceWidth;
    } else if (FindGlyph(GlobalGlyphs, ch, sourceX, glyphWidth)) {
      width += glyphWidth;
    }
  }
  return width;
}

int32_t WrapMessageText(const char* text, int32_t maxWidth, MessageLine* lines, int32_t maxLines) {
  int32_t count = 0;
  const char* p = text;
  while (*p && count < maxLines) {
    const char* lineStart = p;
    const char* lastSpace = nullptr;
    const char* q = p;
    int32_t width = 0;
    for (;;) {
      if (*q == 0 || *q == '\n') {
        lines[count++] = MessageLine{lineStart, static_cast<int32_t>(q - lineStart)};
        p = *q ? q + 1 : q;
        break;
      }
      if (*q == ' ') lastSpace = q;
      const int32_t w = MeasureText(q, 1);
      if (width + w > maxWidth && q > lineStart) {
        if (lastSpace && lastSpace > lineStart) {
          const char* lineEnd = lastSpace;
          while (lineEnd > lineStart && lineEnd[-1] == ' ') --lineEnd;  // no gap at the end
          lines[count++] = MessageLine{lineStart, static_cast<int32_t>(lineEnd - lineStart)};
          p = lastSpace;
        } else {
          lines[count++] = MessageLine{lineStart, static_cast<int32_t>(q - lineStart)};
          p = q;
        }
        while (*p == ' ') ++p;  // a wrapped line does not start with the spaces it broke at
        break;
      }
      width += w;
      ++q;
    }
  }
  return count;
}

MessageBoxLayout LayOutMessageBox(const char* text, int style) {
  MessageBoxLayout layout{};
  SelectFont(kFontWhite);
  const int32_t fontHeight = FontHeight();
  layout.lineStep = std::max<int32_t>(15, fontHeight + 3);
  const int32_t titleHeight = layout.lineStep + 4;
  const int32_t buttonHeight = std::max<int32_t>(20, fontHeight + 8);

  // Everything but the text lines; the text gets what is left of the screen's height.
  const int32_t fixed = kFrame + titleHeight + 6 + 6 + buttonHeight + kPadding + kFrame;
  const int32_t roomForLines = std::max<int32_t>(1, (kScreenHeight - 2 - fixed) / layout.lineStep);
  const int32_t maxLines = std::min<int32_t>(kMessageMaxLines, roomForLines);
  layout.lineCount = WrapMessageText(text, kMessageBoxWidth - 2 * kPadding, layout.lines, maxLines);

  const int32_t height = fixed + layout.lineCount * layout.lineStep;
  const int32_t left = (kScreenWidth - kMessageBoxWidth) / 2;
  const int32_t top = (kScreenHeight - height) / 2;
  layout.panel = Rect{left, top, left + kMessageBoxWidth, top + height};
  layout.title = Rect{left + kFrame, top + kFrame, left + kMessageBoxWidth - kFrame, top + kFrame + titleHeight};
  layout.textTop = layout.title.bottom + 6;

  const int32_t buttonTop = layout.textTop + layout.lineCount * layout.lineStep + 6;
  const int32_t centre = kScreenWidth / 2;
  if (style == MB_YESNO) {
    layout.buttonCount = 2;
    layout.buttons[0] = Rect{centre - kButtonGap / 2 - kButtonWidth, buttonTop, centre - kButtonGap / 2,
                             buttonTop + buttonHeight};
    layout.buttons[1] = Rect{centre + kButtonGap / 2, buttonTop, centre + kButtonGap / 2 + kButtonWidth,
                             buttonTop + buttonHeight};
  } else {
    layout.buttonCount = 1;
    layout.buttons[0] = Rect{centre - kButtonWidth / 2, buttonTop, centre + kButtonWidth / 2,
                             buttonTop + buttonHeight};
  }
  return layout;
}

void InstallDrawnMessageBox() { UseMessageBoxHandler(&drawnBox); }
