#include "tools/music/song_timer.h"

#include <set>
#include <utility>
#include <vector>

#include "tarnxm/tarnxm.h"

namespace {

// Walks give up after this many rows: a song that never ends.
constexpr std::int64_t RowLimit = 1 << 22;
// Fxx below this sets the speed, from it the tempo (F20 is 32 BPM).
constexpr int FirstTempo = 0x20;

// The cell, or an empty one where the pattern holds fewer cells.
TXmCell CellAt(const TXmPattern& pattern, int row, int channel, int channels) {
  const std::size_t index = static_cast<std::size_t>(row) * channels + channel;
  return index < pattern.Cells.size() ? pattern.Cells[index] : TXmCell{};
}

// The rows of an order's pattern; 0 for an order outside the song or
// naming no pattern.
int RowsAt(const TXmSong& song, int order) {
  if (order < 0 || order >= static_cast<int>(song.Orders.size())) return 0;
  const std::size_t pattern = song.Orders[order];
  return pattern < song.Patterns.size() ? song.Patterns[pattern].Rows : 0;
}

struct TLoopState {
  int Row = 0;
  int Count = 0;
  bool Active = false;
};

// Where the row's jump, break or pattern loop leads.
struct TJump {
  bool Pending = false;
  bool IsLoop = false;
  int Order = 0;
  int Row = 0;
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
    TJump jump;
    for (int channel = 0; channel < channels; ++channel) {
      const TXmCell cell = CellAt(pattern, row, channel, channels);
      const auto effect = static_cast<TTarnXMEffect>(cell.Effect);
      const int parameter = cell.EffectParameter;
      if (effect == TTarnXMEffect::SetSpeedTempo) {
        if (parameter < FirstTempo) speed = parameter;
        else tempo = parameter;
      } else if (effect == TTarnXMEffect::PositionJump) {
        // A jump to the right of a break takes the break's row back to 0.
        jump = {true, false, parameter, 0};
      } else if (effect == TTarnXMEffect::PatternBreak) {
        // The row is written in decimal: D32 is row 32.
        const int breakOrder = !jump.Pending || jump.IsLoop ? order + 1 : jump.Order;
        jump = {true, false, breakOrder, (parameter >> 4) * 10 + (parameter & 15)};
      } else if (effect == TTarnXMEffect::Extended &&
                 static_cast<TTarnXMExtendedEffect>(parameter >> 4) == TTarnXMExtendedEffect::PatternLoop) {
        TLoopState& loop = loops[channel];
        const int times = parameter & 15;
        // The loop body plays times + 1 times: the first pass sets the
        // count, each later one takes one off, and the pass that reaches 0
        // goes on. A jump or break on the row wins over the loop's jump.
        if (times == 0) {
          if (!loop.Active) loop.Row = row;
        } else {
          if (!loop.Active) loop = {loop.Row, times, true};
          else if (--loop.Count == 0) loop.Active = false;
          if (loop.Active && (!jump.Pending || jump.IsLoop)) jump = {true, true, order, loop.Row};
        }
      }
    }
    const std::int64_t framesPerTick = static_cast<std::int64_t>(mixRate) * 640 / ((tempo ? tempo : 125) * 256);
    timing.Frames += framesPerTick * (speed > 0 ? speed : 1);
    ++timing.Rows;
    if (jump.Pending) {
      order = jump.Order;
      // A break past the next pattern's last row plays it from row 0.
      row = !jump.IsLoop && jump.Row >= RowsAt(song, order) ? 0 : jump.Row;
    } else {
      ++row;
    }
  }
  timing.Seconds = static_cast<double>(timing.Frames) / mixRate;
  return timing;
}
