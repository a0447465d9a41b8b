// The paged mark-up text box of the help screen: word wrap, paragraphs, a regular and a
// bold font, and BMP pictures between the lines.
#pragma once
#include <SDL/SDL.h>

#include <cstdint>

#include "text/font.h"

constexpr int kMaxPages = 100;           // pageStart entries; pagination stops at this many
constexpr int kTagCapacity = 256;        // bytes kept of a tag or a picture path, with its zero
constexpr int32_t kParagraphIndent = 20;  // the first line of a paragraph starts this far in

// A text in the three-tag mark-up ("<BOLD>", "</BOLD>", "<IMAGE>" + path) broken into pages
// once when it is attached, and drawn one page at a time. The box owns nothing: fonts and
// background belong to Images, the text to the caller, pictures live only within a pass (one
// that will not load takes no room, and the text goes on).
class TextBox {
 public:
  // All fields zero or null; page 0, regular font.
  TextBox();

  // Sets the text area (stored as signed 16-bit); no re-layout. Called by PrepareHelpBox.
  void SetRect(int32_t left, int32_t top, int32_t width, int32_t height);
  // Sets the full-screen image drawn under every page.
  void SetBackground(SDL_Surface* surface);
  // Sets font 0, the regular font.
  void SetRegularFont(SDL_Surface* surface);
  // Sets font 1, the bold font.
  void SetBoldFont(SDL_Surface* surface);
  // Makes font 0 or 1 the font in use and rebuilds `glyphs` from it. Also called by the
  // bold tags while the text is laid out or drawn.
  void UseFont(int32_t number);
  // Attaches a zero-terminated text (owned by the caller, kept alive while attached) and
  // breaks it into pages; currentPage is left as it was. Called once by the driver.
  void SetText(const char* newText);
  // Draws the background at (0, 0) and then page currentPage. Does not flip the screen.
  // Called by the help screen when it opens and after every page turn.
  void DrawBox();
  // One page on, but not past lastPage. Called by the help screen's controls.
  void NextPage();
  // One page back, but not before page 0. Called by the help screen's controls.
  void PreviousPage();

  SDL_Surface* background;
  SDL_Surface* fonts[2];               // 0 regular, 1 bold
  const char* text;                    // the attached text
  const char* pageStart[kMaxPages];    // first byte of each page, entries 0..lastPage
  int16_t left, top, width, height;    // the text area on the screen
  int16_t currentPage;                 // the page the next DrawBox shows
  int16_t lastPage;                    // index of the last page
  int32_t currentFont;                 // 0 regular, 1 bold: the font in use
  GlyphTable glyphs;                   // the glyph table of the font in use

 private:
  // How one step of the walk ended the page, if it did.
  enum class PageEnd { None, AtNewline, AtWrap, AtPicture };
  // The walk's pen: x, and the top of the current line.
  struct Pen {
    int32_t x, y;
  };

  // Records where every page begins (called by SetText).
  void Paginate();
  // Draws page currentPage from its start until its own layout fills the area.
  void RenderPage();
  // Applies the layout rules to the byte (or whole tag) at p, drawing only when `draw` is
  // set; both passes use it. `pageFirst` is where the current page began, `end` the end of
  // the text. Sets `next` to where the scan goes on and says whether the page ended here.
  PageEnd Step(const char* p, const char* end, const char* pageFirst, bool draw, Pen& pen,
               const char*& next);
  // Blits the glyph of ch in the font in use at (x, y); returns its width (0 if none).
  int32_t DrawGlyph(uint8_t ch, int32_t x, int32_t y);
  // The room a byte takes: 0 for byte 0, 4 for a space, else its glyph width (0 if none).
  int32_t GlyphWidth(uint8_t ch) const;
  // The width of the run from p up to the next space or "<" or the end; 0 if p is a space.
  int32_t LookAheadWidth(const char* p, const char* end) const;
  // The height of the font in use, the line height.
  int32_t LineHeight() const;
};

// The help screen's text box, set up once by the driver.
extern TextBox HelpBox;

// Sets a box up as the help screen's: the area (19, 60) 205 x 190, help.bmp behind it, the
// white font as both regular and bold, regular in use. Called by RunGame for HelpBox.
void PrepareHelpBox(TextBox& box);
