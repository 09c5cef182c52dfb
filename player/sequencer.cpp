// The song in time: ticks, rows, the order list with its restart position,
// and the jumps, breaks and loops that the channels request.
#include <algorithm>

#include "player/module.h"

namespace {

constexpr std::size_t TrackedRows = 256;

bool IsTracked(std::int32_t order, std::int32_t row) {
  return order >= 0 && order < TTarnXMModule::MaxOrders && row >= 0 && row < static_cast<std::int32_t>(TrackedRows);
}

// Finds the row to play from OrderPosition and Row: past the song's end
// playback goes on at the restart position, and patterns without rows are
// skipped. False when no order from the restart position on has a row;
// the row then stays silent rather than searching for ever.
bool FindRow(TTarnXMModule& module) {
  bool restarted = false;
  for (;;) {
    if (module.OrderPosition >= module.SongLength || module.OrderPosition >= TTarnXMModule::MaxOrders ||
        module.OrderPosition < 0) {
      if (restarted) return false;
      restarted = true;
      module.OrderPosition = module.RestartPosition;
      module.Row = 0;
      if (module.OrderPosition == 0) {
        module.GlobalVolume = 64;
        module.Speed = module.InitialSpeed;
        module.Tempo = module.InitialTempo;
        for (std::int32_t i = 0; i < std::clamp(module.NumChannels, 0, TTarnXMModule::MaxChannels); ++i)
          module.Channels[i]->Reset();
      }
      continue;
    }
    module.CurrentPattern = module.Orders[module.OrderPosition];
    if (module.Row < module.Patterns[module.CurrentPattern].Rows) return true;
    module.OrderPosition += 1;
    module.Row = 0;
  }
}

}  // namespace

void TTarnXMModule::RequestPositionJump(std::int32_t order) {
  JumpOrder = order;
  if (!JumpPending) JumpRow = 0;
  JumpPending = true;
  JumpIsLoop = false;
}

void TTarnXMModule::RequestPatternBreak(std::int32_t row) {
  if (!JumpPending) JumpOrder = OrderPosition + 1;
  JumpRow = row;
  JumpPending = true;
  JumpIsLoop = false;
}

void TTarnXMModule::RequestPatternLoop(std::int32_t row) {
  JumpOrder = OrderPosition;
  JumpRow = row;
  JumpPending = true;
  JumpIsLoop = true;
}

void TTarnXMModule::Tick() {
  const std::int32_t channels = std::clamp(NumChannels, 0, MaxChannels);
  TickCounter += 1;
  if (TickCounter < Speed * (PatternDelayCount + 1)) {
    for (std::int32_t i = 0; i < channels; ++i) {
      Channels[i]->Tick = TickCounter;
      Channels[i]->ProcessTick();
    }
  } else {
    TickCounter = 0;
    PatternDelayCount = 0;
    JumpOrder = 0;
    JumpRow = 0;
    JumpPending = false;
    JumpIsLoop = false;
    if (FindRow(*this)) {
      if (IsTracked(OrderPosition, Row)) {
        if (PlayedRows[OrderPosition][Row]) SongEnded = true;
        PlayedRows[OrderPosition][Row] = true;
      }
      const TTarnXMPattern& pattern = Patterns[CurrentPattern];
      for (std::int32_t i = 0; i < channels; ++i) {
        TTarnXMChannel& channel = *Channels[i];
        const TTarnXMPatternNote cell = pattern.GetNote(Row, i);
        channel.Tick = 0;
        channel.Note = cell.Note;
        channel.InstrumentNumber = cell.Instrument;
        channel.VolumeColumn = cell.VolumeColumn;
        channel.Effect = cell.Effect;
        channel.EffectParameter = cell.EffectParameter;
        channel.ProcessRow();
      }
      if (JumpPending) {
        // The rows of a loop play again by design: they count as new.
        if (JumpIsLoop && IsTracked(OrderPosition, Row))
          for (std::int32_t row = std::max(JumpRow, 0); row <= Row; ++row) PlayedRows[OrderPosition][row] = false;
        OrderPosition = JumpOrder;
        Row = JumpRow;
      } else {
        Row += 1;
      }
    } else {
      SongEnded = true;
    }
  }
  for (std::int32_t i = 0; i < channels; ++i) Channels[i]->Update();
}
