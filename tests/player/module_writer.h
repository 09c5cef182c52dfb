#pragma once
// Writers of small XM and MOD files for the tests, so that every test module
// is built in code. Every field the loaders read can be set, including
// inconsistent ones; by default the counts and sizes follow from the content.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

struct TXMSampleWriter {
  std::string Name;
  std::optional<std::uint32_t> Length;  // default: the size of Data
  std::uint32_t LoopStart = 0;
  std::uint32_t LoopLength = 0;
  std::uint8_t Volume = 64;
  std::int8_t FineTune = 0;
  std::uint8_t Type = 0;  // bits 0-1 loop, bit 4 16-bit, bit 5 stereo
  std::uint8_t Panning = 128;
  std::int8_t RelativeNote = 0;
  std::uint8_t Reserved = 0;  // 0xAD marks ADPCM data
  TBytes Data;                // as stored in the file
};

struct TXMEnvelopeWriter {
  std::vector<std::pair<std::uint16_t, std::uint16_t>> Points;  // (position, value), at most 12 written
  std::optional<std::uint8_t> NumPoints;                        // default: the number of Points
  std::uint8_t Sustain = 0;
  std::uint8_t LoopStart = 0;
  std::uint8_t LoopEnd = 0;
  std::uint8_t Type = 0;  // bit 0 on, bit 1 sustain, bit 2 loop
};

struct TXMInstrumentWriter {
  std::string Name;
  // Default: 243 with samples, 29 without. With samples, the header written
  // is padded or cut to it.
  std::optional<std::uint32_t> Size;
  std::optional<std::uint16_t> SampleCount;  // default: the number of Samples
  std::array<std::uint8_t, 96> SampleMap{};
  TXMEnvelopeWriter VolumeEnvelope;
  TXMEnvelopeWriter PanningEnvelope;
  std::uint8_t VibratoType = 0;
  std::uint8_t VibratoSweep = 0;
  std::uint8_t VibratoDepth = 0;
  std::uint8_t VibratoRate = 0;
  std::uint16_t FadeOut = 0;
  std::vector<TXMSampleWriter> Samples;
};

struct TXMPatternWriter {
  std::uint16_t Rows = 64;
  TBytes Packed;                            // the packed cells
  std::optional<std::uint16_t> PackedSize;  // default: the size of Packed
};

TXMPatternWriter XMPattern(std::uint16_t rows, TBytes packed);

struct TXMWriter {
  std::string Title;
  std::uint16_t Version = 0x0104;
  std::optional<std::uint32_t> HeaderSize;  // default 276, the standard header
  std::uint16_t SongLength = 1;
  std::uint16_t Restart = 0;
  std::uint16_t Channels = 4;
  std::optional<std::uint16_t> PatternCount;     // default: the number of Patterns
  std::optional<std::uint16_t> InstrumentCount;  // default: the number of Instruments
  std::uint16_t Flags = 1;
  std::uint16_t Speed = 6;
  std::uint16_t Tempo = 125;
  std::array<std::uint8_t, 256> Orders{};
  std::vector<TXMPatternWriter> Patterns;
  std::vector<TXMInstrumentWriter> Instruments;
  TBytes Trailer;  // written after the song: extension chunks

  TBytes Build() const;
};

// One unpacked cell: note, instrument, volume column, effect, parameter.
TBytes XMCell(std::uint8_t note, std::uint8_t instrument = 0, std::uint8_t volume = 0, std::uint8_t effect = 0,
              std::uint8_t parameter = 0);
// rows x channels empty packed cells (one mask byte 0x80 each).
TBytes EmptyXMCells(int cells);
// An extension chunk: id, 32-bit length (default: the data's size), data.
TBytes XMChunk(std::string_view id, const TBytes& data, std::optional<std::uint32_t> length = std::nullopt);
// Delta encodings of values, as the XM sample data stores them.
TBytes Delta8(const std::vector<std::int8_t>& values);
TBytes Delta16(const std::vector<std::int16_t>& values);

struct TMODSampleWriter {
  std::uint16_t LengthWords = 0;
  std::uint8_t FineTune = 0;
  std::uint8_t Volume = 64;
  std::uint16_t LoopStartWords = 0;
  std::uint16_t LoopLengthWords = 1;
  std::optional<TBytes> Data;  // default: 2 x LengthWords bytes counting up from 0
};

struct TMODWriter {
  std::string Title;
  std::string Signature = "M.K.";  // empty: the 15-sample form
  int Channels = 4;                // cells per pattern row
  std::uint8_t SongLength = 1;
  std::uint8_t Restart = 0;
  std::array<std::uint8_t, 128> Orders{};
  std::vector<TBytes> Patterns;           // each 64 rows x Channels x 4 bytes
  std::vector<TMODSampleWriter> Samples;  // the rest of the 31 (or 15) are empty

  // Appends an empty pattern and returns its index.
  int AddPattern();
  void SetCell(int pattern, int row, int channel, int instrument, int period, int effect, int parameter);
  TBytes Build() const;
};
