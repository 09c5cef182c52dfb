#pragma once
// Lays a score pattern out as the grid of cells the module stores: each
// channel's tracks end to end from row 0, transposed as the pattern says,
// empty where no track reaches.
#include <string>
#include <vector>

#include "tools/music/score.h"

struct TPatternLayout {
  std::vector<TXmCell> Cells;  // Rows x channels, row after row
  std::string Error;
};

TPatternLayout LayOutPattern(const TScore& score, const TScorePattern& pattern);
