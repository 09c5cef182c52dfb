#include "player/byte_reader.h"

#include <gtest/gtest.h>

#include <array>

#include "player/text_field.h"

namespace {

TEST(ByteReader, ReadsPastTheEndAsZerosAndCountsWhatWasThere) {
  const std::array<std::uint8_t, 5> data{1, 2, 3, 4, 5};
  TTarnXMReader reader(data.data(), data.size());
  EXPECT_EQ(reader.ReadWord(), 0x0201);
  std::array<std::uint8_t, 6> buffer;
  buffer.fill(0xEE);
  EXPECT_EQ(reader.ReadBytes(buffer.data(), 6), 3);
  EXPECT_EQ(buffer, (std::array<std::uint8_t, 6>{3, 4, 5, 0, 0, 0}));
  EXPECT_EQ(reader.ReadPosition, 5);
  EXPECT_EQ(reader.ReadDword(), 0u);
  reader.ReadPosition = std::int64_t{1} << 40;
  EXPECT_EQ(reader.ReadByte(), 0);
  EXPECT_TRUE(reader.Take(10).empty());
  reader.ReadPosition = -3;
  EXPECT_EQ(reader.ReadByte(), 0);
  EXPECT_EQ(reader.Remaining(), 0);
}

TEST(TextField, CutsAtTheFirstZeroAndTrimsControlsAndSpaces) {
  const std::array<std::uint8_t, 10> field{' ', 0x01, 'a', ' ', 'b', '\t', 0, 'c', 'd', 0};
  EXPECT_EQ(TrimmedText(field), "a b");
  EXPECT_EQ(CutAtZero(field),
            " \x01"
            "a b\t");
  const std::array<std::uint8_t, 3> full{'x', 'y', 0xE9};
  EXPECT_EQ(TrimmedText(full), "xy\xE9");
}

}  // namespace
