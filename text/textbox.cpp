#include "text/textbox.h"

#include "resources/images.h"

#include <cstring>

#include "platform/paths.h"
#include "resources/bitmap_file.h"
#include "resources/draw.h"

TextBox HelpBox;

// A space is a 4-pixel gap and the only place where a line may wrap.
constexpr int32_t kSpaceWidth = 4;

TextBox::TextBox()
    : background(nullptr),
      fonts{nullptr, nullptr},
      text(nullptr),
      pageStart{},
      left(0),
      top(0),
      width(0),
      height(0),
      currentPage(0),
      lastPage(0),
      currentFont(0),
      glyphs{} {}

void TextBox::SetRect(int32_t newLeft, int32_t newTop, int32_t newWidth, int32_t newHeight) {
  left = static_cast<int16_t>(newLeft);
  top = static_cast<int16_t>(newTop);
  width = static_cast<int16_t>(newWidth);
  height = static_cast<int16_t>(newHeight);
}

void TextBox::SetBackground(SDL_Surface* surface) { background = surface; }
void TextBox::SetRegularFont(SDL_Surface* surface) { fonts[0] = surface; }
void TextBox::SetBoldFont(SDL_Surface* surface) { fonts[1] = surface; }

void TextBox::UseFont(int32_t number) {
  if (number != 0 && number != 1) return;  // the box has only a regular and a bold font
  currentFont = number;
  BuildGlyphTable(fonts[number], glyphs);
}

void TextBox::SetText(const char* newText) {
  text = newText;
  Paginate();
}

void TextBox::DrawBox() {
  BlitImage(background, 0, 0);
  RenderPage();
}

void TextBox::NextPage() {
  if (lastPage != 0 && currentPage < lastPage) ++currentPage;
}

void TextBox::PreviousPage() {
  if (lastPage != 0 && currentPage > 0) --currentPage;
}

int32_t TextBox::LineHeight() const {
  const SDL_Surface* font = fonts[currentFont];
  return font ? font->h : 0;
}

int32_t TextBox::GlyphWidth(uint8_t ch) const {
  if (ch == 0) return 0;
  if (ch == ' ') return kSpaceWidth;
  int32_t sourceX = 0;
  int32_t glyphWidth = 0;
  // Newline, carriage return, 1-31 and 128-255 have no glyph and take no room; ">" has one.
  return FindGlyph(glyphs, ch, sourceX, glyphWidth) ? glyphWidth : 0;
}

int32_t TextBox::DrawGlyph(uint8_t ch, int32_t x, int32_t y) {
  SDL_Surface* font = fonts[currentFont];
  int32_t sourceX = 0;
  int32_t glyphWidth = 0;
  if (!font || !FindGlyph(glyphs, ch, sourceX, glyphWidth)) return 0;
  BlitImagePart(font, static_cast<int16_t>(x), static_cast<int16_t>(y),
                static_cast<uint16_t>(glyphWidth), static_cast<uint16_t>(font->h),
                static_cast<int16_t>(sourceX), 0);
  return glyphWidth;
}

int32_t TextBox::LookAheadWidth(const char* p, const char* end) const {
  // The run goes on through newlines: at the last space of a paragraph it measures the
  // paragraph's last word together with the first word of the next one.
  int32_t run = 0;
  for (; p < end && *p != ' ' && *p != '<'; ++p) run += GlyphWidth(static_cast<uint8_t>(*p));
  return run;
}

// Copies at most kTagCapacity - 1 bytes of [from, to) into a zero-terminated buffer.
static void CopyCut(const char* from, const char* to, char (&out)[kTagCapacity]) {
  size_t length = static_cast<size_t>(to - from);
  if (length > kTagCapacity - 1) length = kTagCapacity - 1;
  std::memcpy(out, from, length);
  out[length] = 0;
}

// Loads an inline picture by the path written in the text (relative to the game's folder,
// which is the working directory). Null when it cannot be read.
static SDL_Surface* LoadPicture(const char* gamePath) {
  char hostPath[kTagCapacity];
  if (!gamePath[0] || !HostPath(gamePath, hostPath, sizeof hostPath)) return nullptr;
  // A header that claims far more pixels than the file holds would stall every pass.
  if (!BitmapFileIsSane(hostPath)) return nullptr;
  return SDL_LoadBMP(hostPath);
}

TextBox::PageEnd TextBox::Step(const char* p, const char* end, const char* pageFirst, bool draw,
                               Pen& pen, const char*& next) {
  const int32_t right = left + width;
  const int32_t bottom = top + height;
  const uint8_t ch = static_cast<uint8_t>(*p);
  next = p + 1;

  if (ch == '\n') {
    pen.y += 2 * LineHeight();
    if (pen.y > bottom) return PageEnd::AtNewline;
    pen.x = left + kParagraphIndent;
    return PageEnd::None;
  }
  if (ch < 32 || ch == '>' || ch >= 128) return PageEnd::None;  // CR, 1-31, ">", 128-255
  if (ch == ' ') {
    pen.x += kSpaceWidth;
    if (pen.x + LookAheadWidth(p + 1, end) > right) {
      pen.x = left;
      pen.y += LineHeight();
      if (pen.y > bottom) return PageEnd::AtWrap;
    }
    return PageEnd::None;
  }
  if (ch != '<') {
    pen.x += draw ? DrawGlyph(ch, pen.x, pen.y) : GlyphWidth(ch);
    return PageEnd::None;
  }

  // A tag runs from "<" to the next ">"; without one it takes the rest of the text and is
  // compared as if the ">" were there.
  const char* close = static_cast<const char*>(std::memchr(p, '>', static_cast<size_t>(end - p)));
  char tag[kTagCapacity];
  if (close) {
    CopyCut(p, close + 1, tag);
    next = close + 1;
  } else {
    CopyCut(p, end, tag);
    const size_t length = std::strlen(tag);
    if (length < kTagCapacity - 1) {
      tag[length] = '>';
      tag[length + 1] = 0;
    }
    next = end;
  }

  if (std::strcmp(tag, "<BOLD>") == 0) {
    UseFont(1);
  } else if (std::strcmp(tag, "</BOLD>") == 0) {
    UseFont(0);
  } else if (std::strcmp(tag, "<IMAGE>") == 0) {
    // The path runs up to the next "<" or the end; the scan goes on at that "<".
    const char* pathEnd = next;
    while (pathEnd < end && *pathEnd != '<') ++pathEnd;
    char path[kTagCapacity];
    CopyCut(next, pathEnd, path);
    next = pathEnd;

    SDL_Surface* picture = LoadPicture(path);
    if (!picture) return PageEnd::None;  // a picture that cannot be read takes no room
    const int32_t pictureTop = pen.y + LineHeight();
    // A picture that does not fit goes to the next page together with the byte before its
    // tag, unless it is already the first thing on its page: then it stays, or the same
    // page would start over and over.
    const bool firstOnPage = p <= pageFirst + 1;
    if (pictureTop + picture->h > bottom && !firstOnPage) {
      SDL_FreeSurface(picture);
      next = p - 1;
      return PageEnd::AtPicture;
    }
    if (draw) {
      BlitImage(picture, static_cast<int16_t>(left + (width - picture->w) / 2),
                static_cast<int16_t>(pictureTop));
    }
    pen.x = left;
    pen.y = pictureTop + picture->h;
    SDL_FreeSurface(picture);
  }
  return PageEnd::None;
}

void TextBox::Paginate() {
  pageStart[0] = text;
  lastPage = 0;
  if (!text) return;
  const char* const end = text + std::strlen(text);

  // The font in use is whatever was selected last; it is not reset here.
  Pen pen{left, top};
  const char* first = text;
  for (const char* p = text; p < end;) {
    const char* next = nullptr;
    const PageEnd pageEnd = Step(p, end, first, false, pen, next);
    if (pageEnd != PageEnd::None) {
      // A page end on the last byte starts no page, and there is room for kMaxPages only.
      if (next >= end || lastPage == kMaxPages - 1) break;
      pen.y = top;
      if (pageEnd == PageEnd::AtNewline) pen.x = left + kParagraphIndent;
      if (pageEnd == PageEnd::AtWrap) pen.x = left;
      // After a picture that did not fit, x stays and the byte before its tag is measured
      // again as the first byte of the new page.
      ++lastPage;
      pageStart[lastPage] = next;
      first = next;
    }
    p = next;
  }
}

void TextBox::RenderPage() {
  if (!text || currentPage < 0 || currentPage > lastPage) return;
  const char* const first = pageStart[currentPage];
  if (!first) return;
  const char* const end = first + std::strlen(first);

  // Every page starts at the left edge, without the indent its first line may have been
  // measured with, and stops where its own layout fills the area.
  Pen pen{left, top};
  for (const char* p = first; p < end;) {
    const char* next = nullptr;
    if (Step(p, end, first, true, pen, next) != PageEnd::None) return;
    p = next;
  }
}

void PrepareHelpBox(TextBox& box) {
  box.SetRect(19, 60, 205, 190);
  box.SetBackground(Images[kHelp]);
  box.SetRegularFont(Images[kFontWhite]);
  box.SetBoldFont(Images[kFontWhite]);
  box.UseFont(0);
}
