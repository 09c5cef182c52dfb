#pragma once
// The MOD loader: 15 or 31 samples, 64-row patterns of 4-byte cells, and a
// 4-character signature naming the channel count. Every sample becomes an
// instrument with one sample; periods become notes in the XM encoding.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "player/load_error.h"
#include "player/song.h"

// A signature the loader knows (to refuse it with its reason, if need be), or
// the 15-sample form whose size matches its header.
bool ProbeMOD(std::span<const std::uint8_t> data, TTarnXMProbe& probe);
// Fills an empty song.
TTarnXMLoadError LoadMOD(TTarnXMSong& song, std::span<const std::uint8_t> data);

// The channel count a signature names, none for an unknown signature (the
// 15-sample form). May lie outside 1..255 for odd digits.
std::optional<int> MODSignatureChannels(std::string_view signature);
// The note (1..96, 49 = C-4) of a period; 0 for period 0 and periods below
// the table.
std::int32_t PeriodToNote(std::int32_t period);
// A fine-tune nibble (the byte is clamped to 0..15) in 1/128 semitones.
std::int32_t MODFineTune(std::uint8_t value);
