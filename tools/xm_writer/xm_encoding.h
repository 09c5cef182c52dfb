#pragma once
// The two compact encodings of an XM file: packed pattern cells and delta
// coded sample values.
#include <cstdint>
#include <vector>

#include "tools/xm_writer/xm_song.h"

// A cell with every field present is stored as five plain bytes; any other
// cell as a mask byte (bit 7 set) followed by the fields it names.
void PackCell(const TXmCell& cell, std::vector<std::uint8_t>& out);

// Each value stored as its difference from the one before, starting from 0;
// 8-bit samples keep the high byte of each value.
std::vector<std::uint8_t> DeltaEncode8(const std::vector<std::int16_t>& values);
std::vector<std::uint8_t> DeltaEncode16(const std::vector<std::int16_t>& values);
