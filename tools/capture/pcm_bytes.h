#pragma once
// 16-bit samples as the little-endian bytes that WAV files and ffmpeg's s16le
// input hold, and the header of a 16-bit PCM WAV file.
#include <cstddef>
#include <cstdint>
#include <vector>

void AppendPcm16Le(std::vector<std::uint8_t>& out, const std::int16_t* samples, std::size_t count);

// The 44 bytes before `dataBytes` bytes of interleaved samples; a size past
// the 4 GiB that the format can say is written as the largest it can.
std::vector<std::uint8_t> WavHeader(int rate, int channels, std::uint64_t dataBytes);
