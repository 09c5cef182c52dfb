#include "scene/random.h"

#include <gtest/gtest.h>

TEST(Random, DrawsFromTheLinearCongruentialSequence) {
  TRandom random;
  // The first draw moves the state from 0 to 1: the high half of 1 * 255.
  EXPECT_EQ(random.Below(255), 0u);
  EXPECT_EQ(random.State(), 1u);
  EXPECT_EQ(random.Below(255), 8u);
  EXPECT_EQ(random.State(), 134775814u);
  EXPECT_EQ(random.Below(255), 219u);
  EXPECT_EQ(random.Below(255), 51u);
  EXPECT_EQ(random.Below(255), 69u);
  EXPECT_EQ(random.Below(255), 171u);
  EXPECT_EQ(random.Below(256), 81u);
  EXPECT_EQ(random.Below(1000), 161u);
  EXPECT_EQ(random.Below(1), 0u);
  EXPECT_EQ(random.Below(0x7FFFFFFF), 914127454u);
  EXPECT_EQ(random.State(), 1828254910u);
}
