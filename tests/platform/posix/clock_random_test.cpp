// SPDX-License-Identifier: GPL-3.0-or-later
// The program's random numbers.
#include "platform/posix/clock_random.h"

#include <gtest/gtest.h>

#include <set>

namespace korvane::platform {
namespace {

TEST(ClockRandomTest, DrawsAreInTheHalfOpenUnitRangeAndDoNotRepeatWithinATick) {
  ClockRandom random;
  std::set<double> seen;
  double low = 1.0, high = 0.0;
  constexpr int kDraws = 2000;
  for (int i = 0; i < kDraws; ++i) {
    const double r = random.draw();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    seen.insert(r);
    low = std::min(low, r);
    high = std::max(high, r);
  }
  // Back-to-back draws fall within one clock tick; reseeding from the clock alone would repeat.
  EXPECT_GT(seen.size(), kDraws * 99 / 100);
  EXPECT_LT(low, 0.05);
  EXPECT_GT(high, 0.95);
}

}  // namespace
}  // namespace korvane::platform
