#include "base/byte_reader.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(ByteReader, ReadsPastTheEndAsZerosAndCountsWhatWasThere) {
  const std::array<std::uint8_t, 5> data{1, 2, 3, 4, 5};
  TByteReader reader(data.data(), data.size());
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
  EXPECT_TRUE(reader.Short());
}

TEST(ByteReader, SkipsWithinTheDataAndStopsShortAtItsEnd) {
  const std::array<std::uint8_t, 4> data{1, 2, 3, 4};
  TByteReader reader{std::span<const std::uint8_t>(data)};
  EXPECT_TRUE(reader.Skip(3));
  EXPECT_FALSE(reader.Short());
  EXPECT_FALSE(reader.Skip(2));
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_TRUE(reader.Short());
}

}  // namespace
