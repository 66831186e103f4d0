// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ole_date.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(OleDate, KnownDayCounts) {
  struct Case {
    CivilDateTime t;
    double ole;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0, 0}, 0.0},   {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
      {{1970, 1, 1, 0, 0, 0, 0}, 25569.0}, {{2025, 12, 7, 12, 0, 0, 0}, 45998.5},
      {{1899, 12, 29, 6, 0, 0, 0}, -1.25},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(oleDateFromCivil(c.t), c.ole) << c.t.year << "-" << c.t.month;
    const CivilDateTime back = civilFromOleDate(c.ole);
    EXPECT_EQ(back.year, c.t.year);
    EXPECT_EQ(back.month, c.t.month);
    EXPECT_EQ(back.day, c.t.day);
    EXPECT_EQ(back.hour, c.t.hour);
  }
}

TEST(OleDate, RoundTripsMillisecondsAcrossCenturies) {
  for (int64_t ms : {0LL, 1LL, 86399999LL, -1LL, 3974112345678LL, 7000000000000LL}) {
    EXPECT_EQ(oleMillisFromCivil(civilFromOleMillis(ms)), ms) << ms;
    EXPECT_EQ(oleMillisFromDate(oleDateFromMillis(ms)), ms) << ms;
  }
}

TEST(OleDate, ValidityAndWeekday) {
  EXPECT_TRUE(isValidCivil({2024, 2, 29, 0, 0, 0, 0}));
  EXPECT_FALSE(isValidCivil({2025, 2, 29, 0, 0, 0, 0}));
  EXPECT_FALSE(isValidCivil({2025, 13, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(isValidCivil({2025, 1, 1, 24, 0, 0, 0}));
  EXPECT_EQ(dayOfWeek(2026, 12, 8), 2);  // a Tuesday
}

}  // namespace
}  // namespace korvane
