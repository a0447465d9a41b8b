// The help text box: breaking a text into pages (SetText) and drawing its pages (DrawBox),
// for the game's own story and for a generated text of 100 KB with bold words, paragraphs
// and pictures, in the help screen's box and fonts.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "resources/images.h"
#include "text/textbox.h"

namespace {

std::string ReadStory() {
  const std::string path = std::string(GameFolder()) + "/data/story";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  std::string text;
  if (!file) return text;
  char chunk[4096];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  std::fclose(file);
  return text;
}

// About 100 KB of words of 1 to 10 letters, one in 40 bold, a paragraph every 60 words and
// a help picture every 600, always the same.
std::string GeneratedText() {
  static const char* const kPictures[] = {"data\\help_ship.bmp", "data\\help_enemies.bmp",
                                          "data\\help_bricks.bmp", "data\\help_gifts.bmp"};
  std::string text;
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  for (int word = 0; text.size() < 100 * 1024; ++word) {
    if (word % 600 == 599) {
      text += "<IMAGE>";
      text += kPictures[(word / 600) % 4];
    }
    const bool bold = word % 40 == 39;
    if (bold) text += "<BOLD>";
    const uint32_t letters = 1 + next(10);
    for (uint32_t i = 0; i < letters; ++i) text += static_cast<char>((i == 0 ? 'A' : 'a') + next(26));
    if (bold) text += "</BOLD>";
    text += word % 60 == 59 ? ".\n" : " ";
  }
  return text;
}

const std::string& TextFor(int which) {
  static const std::string story = ReadStory();
  static const std::string generated = GeneratedText();
  return which == 0 ? story : generated;
}

void SetTextBench(benchmark::State& state) {
  SetUpGame();
  const std::string& text = TextFor(static_cast<int>(state.range(0)));
  if (text.empty()) {
    state.SkipWithError("data/story is missing: build the game first");
    return;
  }
  TextBox box;
  PrepareHelpBox(box);
  for (auto _ : state) {
    box.UseFont(0);
    box.SetText(text.c_str());
    benchmark::DoNotOptimize(box.lastPage);
  }
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["pages"] = box.lastPage + 1;
}

void DrawPagesBench(benchmark::State& state) {
  SetUpGame();
  const std::string& text = TextFor(static_cast<int>(state.range(0)));
  if (text.empty()) {
    state.SkipWithError("data/story is missing: build the game first");
    return;
  }
  TextBox box;
  PrepareHelpBox(box);
  box.SetText(text.c_str());
  const int pages = box.lastPage + 1;
  for (auto _ : state) {
    for (int page = 0; page < pages; ++page) {
      box.currentPage = static_cast<int16_t>(page);
      box.DrawBox();
    }
  }
  state.counters["pages"] = pages;
  // Time per drawn page.
  state.counters["per_page"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate |
                                                             benchmark::Counter::kInvert);
}

// Argument 0: the game's story; 1: the generated 100 KB text.
BENCHMARK(SetTextBench)->Name("BM_SetText")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(DrawPagesBench)->Name("BM_DrawAllPages")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
