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

}  // namespace
}  // namespace korvane
