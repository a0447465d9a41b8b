// Fuzzes the help text: the bytes up to the first zero are the text, the bytes after it are
// written as the picture "f.bmp" that the text may name. The text is laid out in the help
// screen's box with the game's own fonts, then every page is drawn and the pages turned;
// the real help pictures lie where the shipped text names them ("data\help_ship.bmp" ...).
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "resources/images.h"
#include "text/textbox.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  // Picture paths are relative to the game's folder, which is the working directory.
  if (chdir(FuzzFolder().c_str()) != 0) FuzzFail("chdir");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t textLength = std::find(data, data + size, 0) - data;  // up to the first zero
  unlink((FuzzFolder() + "f.bmp").c_str());
  if (textLength < size)
    FuzzWriteFile(FuzzFolder() + "f.bmp", data + textLength + 1, size - textLength - 1);
  // The text in a buffer of exactly its length and the zero: a read past it is caught.
  std::vector<char> text(textLength + 1, 0);
  std::copy(data, data + textLength, text.begin());

  // The help screen's box, with the bold font for the bold runs so that the two line heights
  // differ.
  TextBox box;
  PrepareHelpBox(box);
  box.SetBoldFont(Images[kFontBold]);
  box.SetText(text.data());

  FUZZ_CHECK(box.lastPage >= 0 && box.lastPage < kMaxPages);
  for (int page = 0; page <= box.lastPage; ++page) {
    FUZZ_CHECK(box.pageStart[page] >= text.data() && box.pageStart[page] <= &text.back());
    if (page > 0) FUZZ_CHECK(box.pageStart[page] > box.pageStart[page - 1]);
    FUZZ_CHECK(box.currentPage == page);
    box.DrawBox();
    box.NextPage();
  }
  FUZZ_CHECK(box.currentPage == box.lastPage);
  for (int page = box.lastPage; page > 0; --page) box.PreviousPage();
  FUZZ_CHECK(box.currentPage == 0);
  return 0;
}
