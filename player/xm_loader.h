#pragma once
// The XM loader and its stages, each reading on from the reader's position.
// A stage returns TTarnXMLoadError::None or the reason the file is refused;
// the song is then thrown away.
#include <cstdint>
#include <span>
#include <vector>

#include "base/byte_reader.h"
#include "player/load_error.h"
#include "player/song.h"

// The module header, read as one block.
constexpr std::int64_t XMHeaderSize = 336;

// The identifier, and channel and instrument counts a song can hold.
bool ProbeXM(std::span<const std::uint8_t> data, TTarnXMProbe& probe);
// Fills an empty song.
TTarnXMLoadError LoadXM(TTarnXMSong& song, std::span<const std::uint8_t> data);

// A sample header's sizes as the file gives them, kept until the sample's
// data is read: right after the headers, or after the patterns in files of
// version 0x0103 and older.
struct TXMSampleHeader {
  TTarnXMSample* Sample;  // none for headers beyond the 256 an instrument holds
  std::uint32_t Length;   // bytes, or values for ADPCM data
  std::uint32_t LoopStart;
  std::uint32_t LoopLength;
  bool ADPCM;
};

using TXMSampleHeaders = std::vector<TXMSampleHeader>;

// The first layout that has the 9-byte pattern header, and the first that
// stores each instrument's sample data right after its sample headers.
constexpr std::uint16_t XMLongPatternHeaderVersion = 0x0103;
constexpr std::uint16_t XMInterleavedSamplesVersion = 0x0104;

TTarnXMLoadError ReadXMPatterns(TTarnXMSong& song, TByteReader& reader, std::uint16_t version, std::int32_t count);
// Instrument number's header, envelopes and sample headers; the headers of
// samples whose data is still to be read are appended to headers.
TTarnXMLoadError ReadXMInstrument(TTarnXMSong& song, TByteReader& reader, int number, TXMSampleHeaders& headers);
TTarnXMLoadError ReadXMSampleData(TByteReader& reader, const TXMSampleHeaders& headers);
// The optional chunks after the song; they never make the load fail.
void ReadXMExtensionChunks(TTarnXMSong& song, TByteReader& reader);
