#include "player/text_field.h"

#include <gtest/gtest.h>

#include <array>

namespace {

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
