// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/lenient_number.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(LenientNumber, LeadingNumberOrZero) {
  const std::pair<const char*, double> cases[] = {
      {"59", 59}, {"12a", 12},   {"  7 days", 7}, {"abc", 0}, {"", 0},     {"-3210", -3210},
      {"+5", 5},  {"2.5x", 2.5}, {"1e3", 1000},   {"1e", 1},  {".5", 0.5}, {"-", 0},
  };
  for (auto [in, out] : cases) EXPECT_DOUBLE_EQ(leadingNumber(in), out) << in;
}

TEST(LenientNumber, WholeTextNumeric) {
  for (const char* yes : {"59", " 12 ", "\n6101", "-1.5", "1e3", "0"})
    EXPECT_TRUE(isNumeric(yes)) << yes;
  for (const char* no : {"", "12a", "abc", " ", "1 2", "-", "x"}) EXPECT_FALSE(isNumeric(no)) << no;
}

}  // namespace
}  // namespace korvane
