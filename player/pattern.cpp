#include "player/pattern.h"

#include <algorithm>

void TTarnXMPattern::Clear() {
  Name.clear();
  Notes = TTarnXMPatternNotes();
}

void TTarnXMPattern::SetSize(std::int32_t rows, std::uint8_t channels, std::int32_t storedRows) {
  const std::int32_t oldRows = Rows;
  const std::int32_t oldChannels = Channels;
  Rows = rows;
  Channels = channels;
  if (rows <= 0 || channels == 0 || rows > MaxStoredRows) {
    Notes = TTarnXMPatternNotes();
    return;
  }
  const std::int32_t stored = std::clamp(storedRows, 0, rows);
  TTarnXMPatternNotes notes(static_cast<std::size_t>(stored + 1) * channels);
  if (oldChannels > 0) {
    // Rows is a public field: trust only the rows the old cells really hold.
    const std::int64_t oldStoredRows = static_cast<std::int64_t>(Notes.size()) / oldChannels;
    const std::int32_t keptRows = static_cast<std::int32_t>(std::min<std::int64_t>({stored, oldRows, oldStoredRows}));
    const std::int32_t keptChannels = std::min<std::int32_t>(channels, oldChannels);
    for (std::int32_t r = 0; r < keptRows; ++r)
      for (std::int32_t c = 0; c < keptChannels; ++c)
        notes[static_cast<std::size_t>(r) * channels + c] = Notes[static_cast<std::size_t>(r) * oldChannels + c];
  }
  Notes = std::move(notes);
}

std::int64_t TTarnXMPattern::IndexOf(std::int32_t row, std::int32_t channel) const {
  if (row < 0 || channel < 0) return -1;
  const std::int64_t index = std::int64_t{row} * Channels + channel;
  return index < static_cast<std::int64_t>(Notes.size()) ? index : -1;
}

TTarnXMPatternNote TTarnXMPattern::GetNote(std::int32_t row, std::int32_t channel) const {
  const std::int64_t index = IndexOf(row, channel);
  return index < 0 ? TTarnXMPatternNote() : Notes[index];
}

void TTarnXMPattern::SetNote(std::int32_t row, std::int32_t channel, const TTarnXMPatternNote& note) {
  const std::int64_t index = IndexOf(row, channel);
  if (index >= 0) Notes[index] = note;
}
