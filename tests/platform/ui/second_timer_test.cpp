// SPDX-License-Identifier: GPL-3.0-or-later
// A timer on the second ticks just after each whole second of the clock it is armed from, also
// after that clock is set forward or back, and still once a second.
#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_scheduler.h"
#include "platform/second_beat.h"

namespace korvane::platform {
namespace {

TEST(SecondTimerTest, TicksJustAfterTheSecondOfAClockSetForwardAndBack) {
  struct Case {
    const char* name;
    int startMs;  // within the second when the timer starts
    int shiftMs;  // the clock's change after the third tick
  };
  const Case cases[] = {
      {"forward", 300, 250},
      {"back", 999, -600},
      {"just back", 0, -10},
      {"a day on", 500, 86400000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeClock clock(1765000000000LL + c.startMs);
    FakeScheduler scheduler(clock);
    ui::Timer timer("t", 1000);
    timer.setOnSecond(true);
    std::vector<int> phases;
    timer.Tick.connect([&] { phases.push_back(clock.localTime().milliseconds); });
    scheduler.watch(timer);
    scheduler.run(3500 - c.startMs);
    ASSERT_EQ(phases.size(), 3u);
    clock.shiftSystemTime(int64_t{c.shiftMs} * 1000);
    scheduler.run(10000);
    // The wake-up armed before the change comes at its old time; every one after is re-armed.
    ASSERT_GE(phases.size(), 12u);
    EXPECT_LE(phases.size(), 14u);
    phases.erase(phases.begin() + 3);
    for (size_t k = 0; k < phases.size(); ++k) EXPECT_EQ(phases[k], kAfterSecondMs) << "tick " << k;
  }
}

TEST(SecondTimerTest, APlainTimerKeepsItsPhase) {
  FakeClock clock(1765000000300LL);
  FakeScheduler scheduler(clock);
  ui::Timer timer("t", 1000);
  std::vector<int> phases;
  timer.Tick.connect([&] { phases.push_back(clock.localTime().milliseconds); });
  scheduler.watch(timer);
  scheduler.run(3000);
  EXPECT_EQ(phases, (std::vector<int>{300, 300, 300}));
}

}  // namespace
}  // namespace korvane::platform
