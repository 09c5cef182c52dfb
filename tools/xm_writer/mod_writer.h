#pragma once
// A MOD file field by field, as it is stored, for tests and fuzz inputs:
// 15 or 31 sample headers, the order list, the signature, patterns of 64 rows
// of 4-byte cells and the sample data.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/xm_writer/byte_writer.h"

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
