// The song in time: ticks, rows, the order list with its restart position,
// and the jumps, breaks and loops that the channels request.
#include <algorithm>

#include "player/module.h"
#include "player/render_settings.h"
#include "player/tracker_rules.h"

namespace {

constexpr std::size_t TrackedRows = 256;

bool IsTracked(std::int32_t order, std::int32_t row) {
  return order >= 0 && order < TTarnXMSong::MaxOrders && row >= 0 && row < static_cast<std::int32_t>(TrackedRows);
}

// The rows of the pattern at order, or 0 for an order outside the song.
std::int32_t RowsAt(const TTarnXMSong& song, std::int32_t order) {
  if (order < 0 || order >= song.SongLength || order >= TTarnXMSong::MaxOrders) return 0;
  return song.Patterns[song.Orders[order]].Rows;
}

// Finds the row to play from OrderPosition and Row: past the song's end
// playback goes on at the restart position, and patterns without rows are
// skipped. False when no order from the restart position on has a row;
// the row then stays silent rather than searching for ever.
bool FindRow(const TTarnXMSong& song, TTarnXMPlayback& state) {
  bool restarted = false;
  for (;;) {
    if (state.OrderPosition >= song.SongLength || state.OrderPosition >= TTarnXMSong::MaxOrders ||
        state.OrderPosition < 0) {
      if (restarted) return false;
      restarted = true;
      state.OrderPosition = song.RestartPosition;
      state.Row = 0;
      // Round to the very start: the song's own start state, not the one it
      // ended with.
      if (state.OrderPosition == 0) {
        TTarnXMPlayback start(song);
        state.GlobalVolume = start.GlobalVolume;
        state.Speed = start.Speed;
        state.Tempo = start.Tempo;
        std::copy_n(start.Channels.begin(), song.PlayedChannels(), state.Channels.begin());
      }
      continue;
    }
    state.CurrentPattern = song.Orders[state.OrderPosition];
    if (state.Row < song.Patterns[state.CurrentPattern].Rows) return true;
    state.OrderPosition += 1;
    state.Row = 0;
  }
}

// Records the loop about to be taken; false when the same loop was taken
// from the same state before in this pass, or too many were.
bool NewLoopState(const TTarnXMSong& song, TTarnXMPlayback& state) {
  std::uint64_t hash = 14695981039346656037u;
  const auto mix = [&hash](std::int64_t value) {
    for (int k = 0; k < 8; ++k)
      hash = (hash ^ ((static_cast<std::uint64_t>(value) >> (8 * k)) & 0xFF)) * 1099511628211u;
  };
  mix(state.OrderPosition);
  mix(state.Row);
  for (std::int32_t i = 0; i < song.PlayedChannels(); ++i) {
    const TTarnXMChannel& channel = state.Channels[i];
    mix(channel.LoopRow);
    mix(channel.LoopCount);
    mix(channel.LoopActive);
  }
  const auto at = std::lower_bound(state.LoopStates.begin(), state.LoopStates.end(), hash);
  if (state.LoopStates.size() >= TTarnXMPlayback::MaxLoopStates || (at != state.LoopStates.end() && *at == hash))
    return false;
  state.LoopStates.insert(at, hash);
  return true;
}

void StartRow(TTarnXMTickContext& context) {
  const TTarnXMSong& song = context.Song;
  TTarnXMPlayback& state = context.State;
  state.TickCounter = 0;
  state.PatternDelayCount = 0;
  state.JumpOrder = 0;
  state.JumpRow = 0;
  state.JumpPending = false;
  state.JumpIsLoop = false;
  if (!FindRow(song, state)) {
    state.SongEnded = true;
    return;
  }
  if (IsTracked(state.OrderPosition, state.Row)) {
    if (state.PlayedRows[state.OrderPosition][state.Row]) state.SongEnded = true;
    state.PlayedRows[state.OrderPosition][state.Row] = true;
  }
  state.PlayingOrder = state.OrderPosition;
  state.PlayingRow = state.Row;
  const TTarnXMPattern& pattern = song.Patterns[state.CurrentPattern];
  for (std::int32_t i = 0; i < song.PlayedChannels(); ++i) {
    TTarnXMChannel& channel = state.Channels[i];
    const TTarnXMPatternNote cell = pattern.GetNote(state.Row, i);
    channel.Tick = 0;
    channel.Note = cell.Note;
    channel.InstrumentNumber = cell.Instrument;
    channel.VolumeColumn = cell.VolumeColumn;
    channel.Effect = cell.Effect;
    channel.EffectParameter = cell.EffectParameter;
    channel.ProcessRow(context);
  }
  if (state.JumpPending) {
    // The rows of a loop play again by design: they count as new.
    if (state.JumpIsLoop && IsTracked(state.OrderPosition, state.Row) && NewLoopState(song, state))
      for (std::int32_t row = std::max(state.JumpRow, 0); row <= state.Row; ++row)
        state.PlayedRows[state.OrderPosition][row] = false;
    state.OrderPosition = state.JumpOrder;
    state.Row = state.JumpRow;
    // A break past the next pattern's last row plays it from row 0 (D70 in FT2 and ProTracker).
    if (!state.JumpIsLoop && state.Row >= RowsAt(song, state.OrderPosition)) state.Row = 0;
  } else {
    state.Row += 1;
  }
}

}  // namespace

void TTarnXMModule::Tick(const TTarnXMRenderSettings& settings) {
  TTarnXMTickContext context{*Song, State, settings};
  const std::int32_t channels = Song->PlayedChannels();
  State.TickCounter += 1;
  if (State.TickCounter < State.Speed * (State.PatternDelayCount + 1)) {
    // A pattern delay plays the row again: each repetition counts its ticks
    // from 0. Only ProTracker also reads the row's fine slides again on a
    // repetition's first tick (termigator_reg-zbb.mod's EB2 with EEB); both
    // run their other ticks' effects there.
    const std::int32_t tick = State.TickCounter % State.Speed;
    const bool repeatRow = tick == 0 && PlaysByProTrackerRules(*Song);
    for (std::int32_t i = 0; i < channels; ++i) {
      State.Channels[i].Tick = tick;
      if (repeatRow) State.Channels[i].RepeatRow(context);
      else State.Channels[i].ProcessTick(context);
    }
  } else {
    StartRow(context);
  }
  for (std::int32_t i = 0; i < channels; ++i) State.Channels[i].Update(context);
}
