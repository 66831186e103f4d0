// The time zone reading and the whole-second adjustment.
#include "sync_fixture.h"

namespace korvane::sync::testing {
namespace {

class ClockAdjustmentTest : public SyncFixture {};

TEST_F(ClockAdjustmentTest, BiasFollowsThePartOfTheZoneInForce) {
  struct Case {
    platform::ZoneState state;
    int32_t bias;
    const char* name;
  };
  const Case cases[] = {{platform::ZoneState::Daylight, 14400, "EDT"},
                        {platform::ZoneState::Standard, 18000, "EST"},
                        {platform::ZoneState::Unknown, 18000, "EST"},
                        {platform::ZoneState::Invalid, 18000, "EST"}};
  for (const Case& c : cases) {
    clock.setZone({300, "EST", 0, "EDT", -60}, c.state);
    EXPECT_EQ(driver.GrabBias(), c.bias);
    EXPECT_EQ(driver.zone.ZoneName, c.name);
  }
}

TEST_F(ClockAdjustmentTest, CheckTimeZoneTakesNamesUpToTheirNul) {
  clock.setZone({-60, std::string("CET\0junk", 8), 0, "CEST", -60}, platform::ZoneState::Standard);
  driver.CheckTimeZone();
  EXPECT_EQ(driver.zone.standardName, "CET");
  EXPECT_EQ(driver.zone.daylightName, "CEST");
  EXPECT_EQ(driver.zone.ZoneName, "CET");
}

TEST_F(ClockAdjustmentTest, UpdateTimeSetsTheClockInOneCall) {
  // Local clock 16:05:45.678; the server says 16:05:40 local, the day before.
  button.setEnabled(false);
  driver.UpdateTime(oleDateFromCivil({2025, 12, 6, 16, 5, 40, 0}));
  EXPECT_EQ(driver.SyncStatus, "Time Adjusted by -86405 second(s)");
  EXPECT_EQ(clock.setCount(), 1);
  const platform::SystemTime t = clock.localTime();
  EXPECT_EQ(t.day, 6);
  EXPECT_EQ(t.second, 40);
  EXPECT_EQ(t.milliseconds, 0);
  EXPECT_TRUE(button.enabled());
}

}  // namespace
}  // namespace korvane::sync::testing
