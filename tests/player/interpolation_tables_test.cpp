#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "player/interpolation_tables.h"

namespace {

std::vector<std::int32_t> RowOf(const std::int32_t* row, int taps) { return {row, row + taps}; }

}  // namespace

TEST(InterpolationTablesTest, CubicSplineTellingRowsAndNearUnitSums) {
  const TTarnXMCubicSpline spline;
  using Row = std::vector<std::int32_t>;
  EXPECT_EQ(RowOf(spline.Row(0), 4), (Row{0, 16384, 0, 0}));
  EXPECT_EQ(RowOf(spline.Row(256), 4), (Row{-1152, 14208, 3712, -384}));
  EXPECT_EQ(RowOf(spline.Row(512), 4), (Row{-1024, 9216, 9216, -1024}));
  EXPECT_EQ(RowOf(spline.Row(768), 4), (Row{-384, 3712, 14208, -1152}));
  EXPECT_EQ(RowOf(spline.Row(1023), 4), (Row{0, 8, 16384, -8}));
  // Each weight is rounded on its own, so a row may miss 1.0 by one step
  // (row 4: -32 + 16383 + 32 + 0).
  EXPECT_EQ(std::accumulate(spline.Row(4), spline.Row(4) + 4, 0), 16383);
  for (int r = 0; r < TTarnXMCubicSpline::Rows; ++r)
    EXPECT_NEAR(std::accumulate(spline.Row(r), spline.Row(r) + 4, 0), 16384, 1) << "row " << r;
}

TEST(InterpolationTablesTest, WindowedFirTellingRowsSymmetryAndSums) {
  const TTarnXMWindowedFIR fir;
  using Row = std::vector<std::int32_t>;
  EXPECT_EQ(RowOf(fir.Row(2048), 8), (Row{0, 0, 0, 0, 32768, 0, 0, 0}));
  EXPECT_EQ(RowOf(fir.Row(0), 8), (Row{-44, 718, -3858, 19578, 19578, -3858, 718, -44}));
  EXPECT_EQ(RowOf(fir.Row(1024), 8), (Row{-7, 299, -1870, 8520, 29038, -3937, 815, -79}));
  EXPECT_EQ(std::accumulate(fir.Row(0), fir.Row(0) + 8, 0), 32788);
  int low = 1 << 30, high = -(1 << 30);
  for (int r = 0; r < TTarnXMWindowedFIR::Rows; ++r) {
    const int sum = std::accumulate(fir.Row(r), fir.Row(r) + 8, 0);
    low = std::min(low, sum);
    high = std::max(high, sum);
  }
  EXPECT_EQ(low, 32766);
  EXPECT_EQ(high, 32867);
}
