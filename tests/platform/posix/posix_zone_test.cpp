// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX clock's zone record, read from the C library's zone data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/posix/posix_clock.h"

namespace korvane::platform {
namespace {

class ZoneGuard {
 public:
  explicit ZoneGuard(const char* tz) {
    if (const char* old = std::getenv("TZ")) saved_ = old, hadOld_ = true;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ZoneGuard() {
    hadOld_ ? setenv("TZ", saved_.c_str(), 1) : unsetenv("TZ");
    tzset();
  }

 private:
  std::string saved_;
  bool hadOld_ = false;
};

TEST(PosixZone, RecordsOfRealZones) {
  struct Case {
    const char* tz;
    int32_t bias;
    const char* standard;
    const char* daylight;
    int32_t daylightBias;
  };
  const Case cases[] = {
      {"America/New_York", 300, "EST", "EDT", -60},
      {"Europe/Berlin", -60, "CET", "CEST", -60},
      {"Australia/Sydney", -600, "AEST", "AEDT", -60},  // daylight time in January
      {"UTC", 0, "UTC", "UTC", 0},
      {"Asia/Kolkata", -330, "IST", "IST", 0},
  };
  PosixClock clock;
  for (const Case& c : cases) {
    ZoneGuard zone(c.tz);
    TimeZoneInfo info;
    const ZoneState state = clock.timeZoneInformation(info);
    EXPECT_EQ(info.bias, c.bias) << c.tz;
    EXPECT_EQ(info.standardName, c.standard) << c.tz;
    EXPECT_EQ(info.daylightName, c.daylight) << c.tz;
    EXPECT_EQ(info.daylightBias, c.daylightBias) << c.tz;
    const bool hasRules = c.daylightBias != 0;
    EXPECT_EQ(state == ZoneState::Unknown, !hasRules) << c.tz;
  }
}

TEST(PosixZone, LocalTimeFollowsAZoneChangeInTheProcess) {
  PosixClock clock;
  auto minuteOfDay = [&](const char* tz) {
    ZoneGuard zone(tz);
    const SystemTime t = clock.localTime();
    return t.hour * 60 + t.minute;
  };
  const int utc = minuteOfDay("UTC");
  const int tokyo = minuteOfDay("Asia/Tokyo");
  const int difference = ((tokyo - utc) % 1440 + 1440) % 1440;
  EXPECT_GE(difference, 540);  // nine hours, or one minute more if a minute turned between reads
  EXPECT_LE(difference, 541);
}

}  // namespace
}  // namespace korvane::platform
