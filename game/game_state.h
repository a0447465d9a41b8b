// The 25 level layouts, and the set-up of a new game and of each level: every game object
// and the play state (game/play_state.h) as the level starts.
#pragma once
#include <array>
#include <cstdint>
#include <iterator>

#include "game/play_state.h"

constexpr int kLevelCount = 25;

// One level's formation: 6 rows of 8 cells from the top, each row from the left; a cell is
// 0 for an empty slot or the number of hits its enemy takes (1 to 3).
using LevelRow = std::array<uint8_t, kFormationSlots>;

// Reads a row written as six groups of eight digits "dddddddd dddddddd ...". A character out
// of place makes the table fail to compile.
consteval LevelRow ParseLevelRow(const char (&text)[kFormationRows * (kFormationColumns + 1)]) {
  LevelRow row{};
  int cell = 0;
  for (int i = 0; i + 1 < static_cast<int>(std::size(text)); ++i) {
    const char c = text[i];
    if (i % (kFormationColumns + 1) == kFormationColumns) {
      if (c != ' ') throw "level rows are groups of eight digits separated by one space";
      continue;
    }
    if (c < '0' || c > '3') throw "a level cell is 0, 1, 2 or 3";
    row[cell++] = static_cast<uint8_t>(c - '0');
  }
  return row;
}

// The 25 level layouts, level 1 first.
inline constexpr LevelRow LevelTable[] = {
    ParseLevelRow("11133111 12222221 11111111 11111111 11111111 11111111"),  // 1
    ParseLevelRow("11133111 12222221 11122111 11111111 11111111 11111111"),  // 2
    ParseLevelRow("11133111 12222221 11222111 11111111 11111111 11111111"),  // 3
    ParseLevelRow("11133111 12222221 11222211 11111111 11111111 11111111"),  // 4
    ParseLevelRow("11233211 12222221 21222212 11111111 11111111 11111111"),  // 5
    ParseLevelRow("11233211 12222221 21222212 21111112 11111111 11111111"),  // 6
    ParseLevelRow("11333311 12222221 21222212 21111112 11111111 11111111"),  // 7
    ParseLevelRow("11333311 12222221 12211221 21111112 11111111 11111111"),  // 8
    ParseLevelRow("00333300 02222220 12211221 21122112 11111111 11111111"),  // 9
    ParseLevelRow("00333300 02222220 12211221 21222212 11111111 11111111"),  // 10
    ParseLevelRow("00333300 02222220 12211221 21222212 11111111 11111111"),  // 11
    ParseLevelRow("00333300 01222210 22211222 21222212 21111112 11111111"),  // 12
    ParseLevelRow("00333300 02233220 12222221 11222211 22211222 11111111"),  // 13
    ParseLevelRow("00333300 02233220 12222221 21222212 22211222 11111111"),  // 14
    ParseLevelRow("00333300 02333320 12222221 11222211 22211222 11111111"),  // 15
    ParseLevelRow("00333300 02333320 12222221 21222212 22211222 11111111"),  // 16
    ParseLevelRow("00333300 02333320 12222221 21222212 22211222 11122111"),  // 17
    ParseLevelRow("00333300 02333320 12222221 21222212 22211222 21122112"),  // 18
    ParseLevelRow("00333300 02333320 22222222 11111111 22222222 11111111"),  // 19
    ParseLevelRow("00333300 02333320 22222222 21111112 22222222 11122111"),  // 20
    ParseLevelRow("00333300 03333330 22211222 11122111 11222211 22111122"),  // 21
    ParseLevelRow("00333300 03333330 22211222 11122111 11222211 22111122"),  // 22
    ParseLevelRow("00333300 03333330 22222222 11122111 11222211 22111122"),  // 23
    ParseLevelRow("00333300 03333330 22222222 22122122 11222211 22111122"),  // 24
    ParseLevelRow("00333300 03333330 13333331 11222211 11222211 22111122"),  // 25
};
static_assert(std::size(LevelTable) == kLevelCount, "one layout per level");

// Three lives, score 0, the first level. Called by the driver for a new game and after
// every game over. Returns 0.
int StartNewGame();
// Prepares every game object for a level (0 to 24): fire chance, formation, ship, launcher,
// stars, bricks. Draws nothing. Called by StartNewGame and by the driver after a won level.
void StartLevel(int16_t level);
// The second half of StartLevel: places the formation from the layout, the bricks and the
// launcher, and asks for the level banner. Called by StartLevel only.
void BuildFormation();
