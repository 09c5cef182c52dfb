#include <array>

#include "player/xm_loader.h"

namespace {

// A cell byte with bit 7 set is a mask saying which of the five fields follow;
// otherwise it is the note and all four other fields follow.
TTarnXMPatternNote ReadCell(TByteReader& reader) {
  const std::uint8_t first = reader.ReadByte();
  const bool packed = (first & 0x80) != 0;
  const auto field = [&](int bit) -> std::int32_t { return !packed || (first & bit) ? reader.ReadByte() : 0; };
  TTarnXMPatternNote note;
  note.Note = packed ? field(0x01) : first;
  note.Instrument = field(0x02);
  note.VolumeColumn = field(0x04);
  note.Effect = field(0x08);
  note.EffectParameter = field(0x10);
  if (note.Instrument == 255) note.Instrument = 0;
  return note;
}

}  // namespace

TTarnXMLoadError ReadXMPatterns(TTarnXMSong& song, TByteReader& reader, std::uint16_t version, std::int32_t count) {
  const bool longHeader = version >= XMLongPatternHeaderVersion;
  const std::int64_t headerSize = longHeader ? 9 : 8;
  for (std::int32_t p = 0; p < count; ++p) {
    // Header length (4 bytes) and packing type (1 byte) are not used: the
    // packed data follows the header directly.
    std::array<std::uint8_t, 9> header;
    if (reader.ReadBytes(header.data(), headerSize) < headerSize) return TTarnXMLoadError::TruncatedPatternHeader;
    const std::int32_t rows = longHeader ? WordLE(&header[5]) : header[5] + 1;
    const std::uint16_t packedSize = longHeader ? WordLE(&header[7]) : WordLE(&header[6]);
    // The cells come from the pattern's own bytes: data too short for its
    // rows leaves the rest of them empty.
    TByteReader cells = reader.Block(packedSize);
    // The song holds 256 patterns; the rest are read past.
    if (p >= TTarnXMSong::MaxPatterns) continue;
    TTarnXMPattern& pattern = song.Patterns[p];
    pattern.Clear();
    // Every cell takes at least a byte, so rows past the bytes present can
    // only be empty: no cells are held for them, and a header cannot make a
    // few bytes cost megabytes.
    const std::int64_t channels = std::max<std::int64_t>(song.NumChannels, 1);
    pattern.SetSize(rows, static_cast<std::uint8_t>(song.NumChannels),
                    static_cast<std::int32_t>(std::min<std::int64_t>((cells.Remaining() + channels - 1) / channels,
                                                                     TTarnXMPattern::MaxStoredRows)));
    if (packedSize == 0) continue;
    if (rows >= 1 && rows <= TTarnXMPattern::MaxStoredRows)
      // Once the pattern's bytes run out the rest of it is empty.
      for (std::int32_t row = 0; row < rows && cells.Remaining() > 0; ++row)
        for (std::int32_t channel = 0; channel < song.NumChannels; ++channel)
          pattern.SetNote(row, channel, ReadCell(cells));
  }
  // An order naming a pattern the file does not hold plays 64 empty rows:
  // the tracker leaves trailing empty patterns out (gemdropx-2force.xm).
  constexpr std::int32_t EmptyPatternRows = 64;
  for (std::int32_t order = 0; order < song.SongLength; ++order)
    if (song.Orders[order] >= count)
      song.Patterns[song.Orders[order]].SetSize(EmptyPatternRows, static_cast<std::uint8_t>(song.NumChannels), 0);
  return TTarnXMLoadError::None;
}
