#pragma once
// Reads the text score. Blocks (instrument, track, pattern, message) run to a
// line `end`; '#' starts a comment; names are single words, titles quoted.
// A score that fails to parse yields the first error, with its line number.
#include <string>

#include "tools/music/score.h"

struct TScoreParseResult {
  TScore Score;
  std::string Error;  // empty when the score parsed
};

TScoreParseResult ParseScore(const std::string& text);
