#pragma once
// 16-bit samples as the little-endian bytes that WAV files and ffmpeg's s16le
// input hold.
#include <cstddef>
#include <cstdint>
#include <vector>

void AppendPcm16Le(std::vector<std::uint8_t>& out, const std::int16_t* samples, std::size_t count);
