#pragma once
// A pattern: Rows rows of Channels note cells, stored row after row with one
// empty row more than the pattern plays.
#include <cstdint>
#include <string>
#include <vector>

// One note cell in the XM encoding, whatever format it came from.
struct TTarnXMPatternNote {
  std::int32_t Note = 0;  // 1..96 = C-0..B-7, 97 = key off
  std::int32_t Instrument = 0;
  std::int32_t VolumeColumn = 0;
  std::int32_t Effect = 0;
  std::int32_t EffectParameter = 0;

  bool operator==(const TTarnXMPatternNote&) const = default;
};

using TTarnXMPatternNotes = std::vector<TTarnXMPatternNote>;

class TTarnXMPattern {
 public:
  // Patterns longer than this keep their row count but hold no cells: one
  // header could otherwise ask for 65535 rows of 255 channels.
  static constexpr std::int32_t MaxStoredRows = 256;

  // Empties the name and releases the cells.
  void Clear();
  // Keeps the cells that lie inside both the old and the new size. Cells
  // are held for the first storedRows rows only; the rows after them read
  // as empty.
  void SetSize(std::int32_t rows, std::uint8_t channels, std::int32_t storedRows = MaxStoredRows);
  // An empty cell for any position outside the cells.
  TTarnXMPatternNote GetNote(std::int32_t row, std::int32_t channel) const;
  // Ignored for any position outside the cells.
  void SetNote(std::int32_t row, std::int32_t channel, const TTarnXMPatternNote& note);

  std::string Name;
  TTarnXMPatternNotes Notes;
  std::int32_t Rows = 0;
  std::uint8_t Channels = 0;

 private:
  // The cell's index, or -1 outside the cells.
  std::int64_t IndexOf(std::int32_t row, std::int32_t channel) const;
};
