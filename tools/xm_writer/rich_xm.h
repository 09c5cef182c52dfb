#pragma once
// An XM file with something of every kind the XM loader reads, for the
// fuzzers' seeds and the loader's fuzz test to start from.
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "tools/xm_writer/xm_file_writer.h"

// Two patterns played 0, 1, 0: the one given, then 4 empty rows. Instrument 1
// has volume and panning envelopes and two looped samples, 8-bit mono and
// 16-bit stereo, the second on every note but the first; instrument 2 is
// empty; instrument 3 holds an ADPCM sample. Then the extension chunks named,
// in that order, each with a little content.
TXMWriter RichXM(std::uint16_t version, std::uint16_t channels, TXMPatternWriter pattern,
                 std::initializer_list<std::string_view> chunks);
