#include "tools/music/song_timer.h"

#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int EffectPositionJump = 11;
constexpr int EffectPatternBreak = 13;
constexpr int EffectExtended = 14;
constexpr int EffectSpeedTempo = 15;
constexpr int ExtendedPatternLoop = 6;
// Walks give up after this many rows: a song that never ends.
constexpr std::int64_t RowLimit = 1 << 22;

// The cell, or an empty one where the pattern holds fewer cells.
TXmCell CellAt(const TXmPattern& pattern, int row, int channel, int channels) {
  const std::size_t index = static_cast<std::size_t>(row) * channels + channel;
  return index < pattern.Cells.size() ? pattern.Cells[index] : TXmCell{};
}

// The rows of an order's pattern; 0 for an order naming no pattern.
int RowsAt(const TXmSong& song, int order) {
  const std::size_t pattern = song.Orders[order];
  return pattern < song.Patterns.size() ? song.Patterns[pattern].Rows : 0;
}

struct TLoopState {
  int Row = 0;
  int Count = 0;
  bool Active = false;
};

}  // namespace

TSongTiming TimeSong(const TXmSong& song, int mixRate) {
  TSongTiming timing;
  const int songLength = static_cast<int>(song.Orders.size());
  const int channels = song.Channels;
  std::vector<TLoopState> loops(channels);
  std::set<std::pair<int, int>> playedRows;  // (order, row) outside pattern loops
  int speed = song.Speed;
  int tempo = song.Tempo;
  int order = 0;
  int row = 0;
  while (timing.Rows < RowLimit) {
    while (order < songLength && row >= RowsAt(song, order)) {
      ++order;
      row = 0;
    }
    if (order >= songLength) break;
    bool looping = false;
    for (const TLoopState& loop : loops) looping = looping || loop.Active;
    if (!looping && !playedRows.insert({order, row}).second) break;
    const TXmPattern& pattern = song.Patterns[song.Orders[order]];
    bool jumpPending = false;
    int jumpOrder = 0;
    int jumpRow = 0;
    for (int channel = 0; channel < channels; ++channel) {
      const TXmCell cell = CellAt(pattern, row, channel, channels);
      const int parameter = cell.EffectParameter;
      if (cell.Effect == EffectSpeedTempo) {
        if (parameter <= 32) speed = parameter;
        else tempo = parameter;
      } else if (cell.Effect == EffectPositionJump) {
        jumpOrder = parameter;
        if (!jumpPending) jumpRow = 0;
        jumpPending = true;
      } else if (cell.Effect == EffectPatternBreak) {
        if (!jumpPending) jumpOrder = order + 1;
        jumpRow = parameter;
        jumpPending = true;
      } else if (cell.Effect == EffectExtended && parameter >> 4 == ExtendedPatternLoop) {
        TLoopState& loop = loops[channel];
        const int times = parameter & 15;
        // The loop body plays times + 2 times: the first pass starts the
        // count, `times` passes count it down, one more ends it.
        if (times == 0) {
          if (!loop.Active) loop.Row = row;
        } else if (!loop.Active || loop.Count != 0) {
          if (loop.Active) --loop.Count;
          else loop = {loop.Row, times, true};
          jumpOrder = order;
          jumpRow = loop.Row;
          jumpPending = true;
        } else {
          loop.Active = false;
        }
      }
    }
    const std::int64_t framesPerTick = static_cast<std::int64_t>(mixRate) * 640 / ((tempo ? tempo : 125) * 256);
    timing.Frames += framesPerTick * (speed > 0 ? speed : 1);
    ++timing.Rows;
    if (jumpPending) {
      order = jumpOrder;
      row = jumpRow;
    } else {
      ++row;
    }
  }
  timing.Seconds = static_cast<double>(timing.Frames) / mixRate;
  return timing;
}
