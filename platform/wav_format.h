#pragma once
// The header of a WAV file, for every writer of one: the RIFF chunk, the
// format chunk and the start of the data chunk, little-endian.
#include <cstdint>
#include <vector>

namespace platform {

constexpr std::uint16_t WavIntegerPcm = 1;
constexpr std::uint16_t WavFloatPcm = 3;

struct TWavFormat {
  std::uint16_t Tag = WavIntegerPcm;
  std::uint16_t Channels = 2;
  std::uint32_t Rate = 44100;
  std::uint16_t Bits = 16;
  // The longer form that formats other than integer PCM may carry: the format
  // chunk's extension size (none) and a fact chunk with the frame count.
  bool FactChunk = false;
};

// The most sample data the short form can describe: the RIFF size counts the
// 36 header bytes after it as well.
constexpr std::uint32_t MaxWavDataBytes = 0xFFFFFFFFu - 36;
// The data size of a stream whose length is not known when its header goes
// out (a pipe): both sizes say 0xFFFFFFFF, as streaming writers do, and
// readers take the data to the end of the stream.
constexpr std::uint32_t UnknownWavLength = 0xFFFFFFFFu;

std::vector<std::uint8_t> WavHeader(const TWavFormat& format, std::uint32_t dataBytes);

}  // namespace platform
