#pragma once
// The compact encodings of an XM file: pattern cells, delta coded sample
// values and extension chunks.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "tools/xm_writer/byte_writer.h"
#include "tools/xm_writer/xm_song.h"

// One cell as five plain bytes: note, instrument, volume column, effect,
// parameter.
TBytes XMCell(std::uint8_t note, std::uint8_t instrument = 0, std::uint8_t volume = 0, std::uint8_t effect = 0,
              std::uint8_t parameter = 0);
// cells empty cells, one mask byte 0x80 each.
TBytes EmptyXMCells(int cells);
// A cell with every field present is stored as five plain bytes; any other
// cell as a mask byte (bit 7 set) followed by the fields it names.
void PackCell(const TXmCell& cell, TBytes& out);

// Each value stored as its difference from the one before, starting from 0.
TBytes Delta8(const std::vector<std::int8_t>& values);
TBytes Delta16(const std::vector<std::int16_t>& values);

// An extension chunk: id, 32-bit length (default: the data's size), data.
TBytes XMChunk(std::string_view id, const TBytes& data, std::optional<std::uint32_t> length = std::nullopt);
