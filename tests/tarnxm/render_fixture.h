#pragma once
// What the render tests share: songs built in code, a folder of their own,
// the tool run in this process or as the built program, and a reader of the
// WAV files it writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tools/xm_writer/xm_file_writer.h"

// A WAV file's header fields and its samples as integers (or float bits).
struct TWavFile {
  std::uint16_t Tag = 0;
  std::uint16_t Channels = 0;
  std::uint32_t Rate = 0;
  std::uint16_t Bits = 0;
  std::uint32_t RiffSize = 0;
  std::uint32_t DataSize = 0;
  std::size_t DataBytes = 0;  // what follows the header
  std::vector<std::int32_t> Samples;
};

// Parses a 44-byte-header WAV; false when the bytes are none.
bool ParseWav(const TBytes& bytes, TWavFile& wav);

// One sample, this cycle looped.
TXMInstrumentWriter LoopedInstrument(const std::vector<std::int8_t>& cycle);
// A looped square wave of 32 samples between -amplitude and amplitude.
TXMInstrumentWriter SquareInstrument(std::int8_t amplitude = 40);
// One channel, four rows at speed 6 and tempo 125 (0.48 s): note 49 from
// row 0 on a looped sample of one cycle.
TBytes OneNoteSong(const std::vector<std::int8_t>& cycle);
// Four channels, each a square wave at its own pitch and panning, quiet
// enough that their sum never clips: 16 rows, 1.92 s.
TBytes FourChannelSong();
// Order 0 jumps back to itself, so order 1 is a subsong of its own.
TBytes TwoSubsongSong();

class TarnXMRenderTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Write(const std::string& name, const TBytes& bytes);
  TBytes Read(const std::string& path) const;
  TWavFile ReadWav(const std::string& path) const;
  std::string Path(const std::string& name) const { return (Folder / name).string(); }
  // The files in the folder whose names end with suffix.
  std::vector<std::string> FilesEndingWith(const std::string& suffix) const;

  // The tool in this process; Out and Err hold what it wrote.
  int Run(const std::vector<std::string>& args);
  // The built program, for pipes and signals.
  static std::filesystem::path Tool();

  std::filesystem::path Folder;
  std::ostringstream Out, Err;
};
