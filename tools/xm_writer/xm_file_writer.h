#pragma once
// An XM file field by field, as it is stored. Every field the loaders read can
// be set, inconsistent ones included, so that tests and fuzz inputs can build
// damaged files; by default the counts and sizes follow from the content.
// WriteXm (xm_writer.h) writes a song through it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/xm_writer/byte_writer.h"
#include "tools/xm_writer/xm_encoding.h"

struct TXMSampleWriter {
  std::string Name;
  std::optional<std::uint32_t> Length;  // default: the size of Data
  std::uint32_t LoopStart = 0;          // bytes
  std::uint32_t LoopLength = 0;         // bytes
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
  std::string Tracker = "test writer";
  // Versions up to 0x0103 store the instrument headers before the patterns
  // and the sample data after them; up to 0x0102, a pattern's row count less
  // one in a byte.
  std::uint16_t Version = 0x0104;
  std::optional<std::uint32_t> HeaderSize;  // default 276, the standard header
  std::uint16_t SongLength = 1;
  std::uint16_t Restart = 0;
  std::uint16_t Channels = 4;
  std::optional<std::uint16_t> PatternCount;     // default: the number of Patterns
  std::optional<std::uint16_t> InstrumentCount;  // default: the number of Instruments
  std::uint16_t Flags = 1;                       // bit 0 linear periods, bit 12 extended filter range
  std::uint16_t Speed = 6;
  std::uint16_t Tempo = 125;
  std::array<std::uint8_t, 256> Orders{};
  std::vector<TXMPatternWriter> Patterns;
  std::vector<TXMInstrumentWriter> Instruments;
  TBytes Trailer;  // written after the song: extension chunks

  TBytes Build() const;
};
