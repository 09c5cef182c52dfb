#pragma once
// The sample data decoders shared by the loaders. Each sizes the sample's
// data with AllocateData, stores values at 16-bit scale and returns false
// only when the data cannot be allocated. Bytes missing at the end of the
// source read as zeros.
#include <cstdint>

#include "base/byte_reader.h"
#include "player/sample.h"

// Signed 8-bit deltas; a stereo sample holds all left deltas, then all right
// ones, each channel summing from 0. Odd bytes that make no frame are skipped.
bool DecodeDelta8(TByteReader& reader, TTarnXMSample& sample, std::int64_t bytes);
// Signed little-endian 16-bit deltas, laid out as for DecodeDelta8.
bool DecodeDelta16(TByteReader& reader, TTarnXMSample& sample, std::int64_t bytes);
// A table of 16 signed deltas, then two 4-bit table indices per byte, low
// nibble first; always mono.
bool DecodeADPCM(TByteReader& reader, TTarnXMSample& sample, std::int64_t values);

// The bytes DecodeADPCM consumes for that many values.
constexpr std::int64_t ADPCMBytes(std::int64_t values) { return 16 + (values + 1) / 2; }
