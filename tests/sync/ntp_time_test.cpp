// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/ntp_time.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvane::sync {
namespace {

TEST(Mdiv, ModuloWithFillerForZero) {
  EXPECT_EQ(mdiv(2500, 1000), 500);
  EXPECT_EQ(mdiv(3000, 1000), kMdivFiller);
  EXPECT_EQ(mdiv(-1, 1000), 999);
  EXPECT_EQ(kMdivFiller, 1.0f);
}

TEST(GoMilli, ConvertsSecondsAndFraction) {
  const uint8_t bytes[] = {9, 9, 0, 0, 0, 1, 128, 0, 0, 0};
  EXPECT_DOUBLE_EQ(GoMilli(bytes, 2, 0), 1500.0);
}

TEST(NtpTimestampOf, EncodesTheLocalReadingAsUtc) {
  // 2025-12-07 11:05:45.678 local at bias +5 h is 16:05:45.678 UTC: 3974112345 s after 1900.
  const platform::SystemTime local{2025, 12, 0, 7, 11, 5, 45, 678};
  const NtpTimestamp t = ntpTimestampOf(local, 5 * 3600);
  EXPECT_EQ(t.seconds(), 3974112345u);
  EXPECT_NEAR(t.fraction() / 4294967296.0, 0.678, 1e-6);
  EXPECT_NEAR(GoMilli(t.bytes, 0, t.seconds()), 3974112345678.0, 0.01);
}

TEST(NtpTimestampOf, WholeSecondCarriesTheFillerAndBytesNeverOverflow) {
  for (int ms : {0, 500, 998, 999}) {
    const NtpTimestamp t = ntpTimestampOf({2026, 12, 2, 8, 5, 5, 11, ms}, 0);
    const double millis = GoMilli(t.bytes, 0, t.seconds());
    const double fraction = millis - std::floor(millis / 1000) * 1000;
    EXPECT_NEAR(fraction, ms == 0 ? 1.0 : ms, 0.001) << ms;  // 0 ms reads as the 1 ms filler
  }
}

TEST(SystemTimeFromMillis, SplitsSecondAndMilliseconds) {
  const platform::SystemTime t = systemTimeFromMillisSince1900(3974112345678LL);
  EXPECT_EQ(t.year, 2025);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 7);
  EXPECT_EQ(t.hour, 16);
  EXPECT_EQ(t.minute, 5);
  EXPECT_EQ(t.second, 45);
  EXPECT_EQ(t.milliseconds, 678);
}

}  // namespace
}  // namespace korvane::sync
