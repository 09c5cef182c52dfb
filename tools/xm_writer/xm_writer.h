#pragma once
// Writes a song as an XM file of version 0x0104: header, packed patterns,
// instruments with their samples, then the extension chunks the song asks
// for ("text", "MIDI", pattern and channel names).
#include <cstdint>
#include <string>
#include <vector>

#include "tools/xm_writer/xm_song.h"

struct TXmWriteResult {
  std::vector<std::uint8_t> Bytes;  // empty when the song cannot be written
  std::string Error;                // why, when it cannot
};

TXmWriteResult WriteXm(const TXmSong& song);
