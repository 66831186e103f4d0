// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/rounding.h"

#include <gtest/gtest.h>

#include <limits>

namespace korvane {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},
                                             {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}};
  for (auto [in, out] : cases) EXPECT_EQ(roundHalfEven(in), out) << in;
}

TEST(Rounding, Int32OverflowIsDetected) {
  EXPECT_EQ(toInt32HalfEven(2147483647.4), 2147483647);
  EXPECT_FALSE(toInt32HalfEven(2147483647.5));
  EXPECT_EQ(toInt32HalfEven(-2147483648.5), -2147483648);
  EXPECT_FALSE(toInt32HalfEven(-2147483649.0));
  EXPECT_FALSE(toInt32HalfEven(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(toInt16HalfEven(32768));
  EXPECT_EQ(toInt16HalfEven(-32768.4), -32768);
}

TEST(Rounding, WideValuesSaturateAtTheInt32Ends) {
  const std::pair<int64_t, int32_t> cases[] = {{0, 0},
                                               {-7, -7},
                                               {2147483647, 2147483647},
                                               {2147483648, 2147483647},
                                               {-2147483648, -2147483648},
                                               {-2147483649, -2147483648},
                                               {int64_t{1} << 40, 2147483647}};
  for (auto [in, out] : cases) EXPECT_EQ(saturateToInt32(in), out) << in;
}

}  // namespace
}  // namespace korvane
