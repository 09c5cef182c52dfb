#include "platform/wav_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

std::uint32_t LE(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int k = size - 1; k >= 0; --k) value = value << 8 | bytes[at + static_cast<std::size_t>(k)];
  return value;
}

std::string Id(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(at);
  return std::string(start, start + 4);
}

}  // namespace

// The short form of the PCM writers and the longer one, with a fact chunk,
// of the peer's float renders; the largest data the short form describes
// fills the RIFF size exactly.
TEST(WavFormatTest, HeadersDescribeTheirDataInBothForms) {
  struct TCase {
    TWavFormat Format;
    std::uint32_t DataBytes;
    std::size_t HeaderBytes;
    std::uint32_t BlockAlign;
  };
  for (const TCase& test :
       {TCase{{.Tag = WavIntegerPcm, .Channels = 2, .Rate = 44100, .Bits = 16}, 1000, 44, 4},
        TCase{{.Tag = WavIntegerPcm, .Channels = 1, .Rate = 22050, .Bits = 24}, MaxWavDataBytes, 44, 3},
        TCase{{.Tag = WavFloatPcm, .Channels = 2, .Rate = 48000, .Bits = 32, .FactChunk = true}, 800, 58, 8}}) {
    const std::vector<std::uint8_t> header = WavHeader(test.Format, test.DataBytes);
    ASSERT_EQ(header.size(), test.HeaderBytes);
    EXPECT_EQ(Id(header, 0) + Id(header, 8) + Id(header, 12), "RIFFWAVEfmt ");
    EXPECT_EQ(LE(header, 4, 4), test.HeaderBytes - 8 + test.DataBytes);
    EXPECT_EQ(LE(header, 16, 4), test.Format.FactChunk ? 18u : 16u);
    EXPECT_EQ(LE(header, 20, 2), test.Format.Tag);
    EXPECT_EQ(LE(header, 22, 2), test.Format.Channels);
    EXPECT_EQ(LE(header, 24, 4), test.Format.Rate);
    EXPECT_EQ(LE(header, 28, 4), test.Format.Rate * test.BlockAlign);
    EXPECT_EQ(LE(header, 32, 2), test.BlockAlign);
    EXPECT_EQ(LE(header, 34, 2), test.Format.Bits);
    if (test.Format.FactChunk) {
      EXPECT_EQ(LE(header, 36, 2), 0u);
      EXPECT_EQ(Id(header, 38), "fact");
      EXPECT_EQ(LE(header, 42, 4), 4u);
      EXPECT_EQ(LE(header, 46, 4), test.DataBytes / test.BlockAlign);
    }
    EXPECT_EQ(Id(header, test.HeaderBytes - 8), "data");
    EXPECT_EQ(LE(header, test.HeaderBytes - 4, 4), test.DataBytes);
  }
}

TEST(WavFormatTest, AStreamOfUnknownLengthSaysSoInBothSizes) {
  const std::vector<std::uint8_t> header = WavHeader({}, UnknownWavLength);
  EXPECT_EQ(LE(header, 4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(LE(header, 40, 4), 0xFFFFFFFFu);
}
