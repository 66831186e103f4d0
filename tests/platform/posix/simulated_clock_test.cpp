// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated clock: an offset file over the machine's clock, which it never sets.
#include "platform/posix/simulated_clock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "common/ole_date.h"
#include "platform/posix/posix_clock.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

int64_t nanosOf(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// How far the machine's wall clock stands from its monotonic clock: a step of the machine's
// clock changes it, the passing of time does not.
int64_t wallMinusMonotonicMillis() {
  return (nanosOf(CLOCK_REALTIME) - nanosOf(CLOCK_MONOTONIC)) / 1000000;
}

// Milliseconds since 1970 of a local reading, through the zone in force.
int64_t utcMillisOf(const SystemTime& local) {
  const int64_t localMillis = oleMillisFromCivil(civilOf(local)) - 25569LL * 86400 * 1000;
  std::tm tm{};
  const time_t now = std::time(nullptr);
  localtime_r(&now, &tm);
  return localMillis - static_cast<int64_t>(tm.tm_gmtoff) * 1000;
}

int64_t machineMillis() {
  return nanosOf(CLOCK_REALTIME) / 1000000;
}

class SimulatedClockTest : public ::testing::Test {
 protected:
  SimulatedClockTest() {
    dir = fs::temp_directory_path() /
          ("korvane-simclock-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    file = (dir / "offset").string();
  }
  ~SimulatedClockTest() override { fs::remove_all(dir); }

  void writeOffset(const std::string& text) { std::ofstream(file) << text; }
  std::string fileText() const {
    std::ifstream in(file);
    std::string s;
    std::getline(in, s);
    return s;
  }
  // How far the simulated clock reads ahead of the machine's, in milliseconds.
  int64_t lead(const SimulatedClock& clock) const {
    return utcMillisOf(clock.localTime()) - machineMillis();
  }

  fs::path dir;
  std::string file;
};

TEST_F(SimulatedClockTest, ReadsTheOffsetFileOverTheMachineClock) {
  struct Case {
    const char* text;  // nullptr: no file
    int64_t offset;
  };
  for (const Case& c : {Case{nullptr, 0}, Case{"2345\n", 2345}, Case{"-3210", -3210},
                        Case{"not a number", 0}, Case{"", 0}, Case{"86400000", 86400000}}) {
    SCOPED_TRACE(c.text ? c.text : "(missing)");
    fs::remove(file);
    if (c.text) writeOffset(c.text);
    SimulatedClock clock(file);
    EXPECT_EQ(clock.offsetMillis(), c.offset);
    EXPECT_NEAR(static_cast<double>(lead(clock)), static_cast<double>(c.offset), 50.0);
  }
}

TEST_F(SimulatedClockTest, SettingTheClockRewritesTheOffsetAndNeverTheMachine) {
  writeOffset("2345");
  SimulatedClock clock(file);
  const int64_t machineBefore = wallMinusMonotonicMillis();

  // Ten seconds behind the machine, as UTC.
  const time_t target = static_cast<time_t>((machineMillis() - 10000) / 1000);
  std::tm utc{};
  gmtime_r(&target, &utc);
  const SystemTime t{utc.tm_year + 1900, utc.tm_mon + 1, 0,          utc.tm_mday,
                     utc.tm_hour,        utc.tm_min,     utc.tm_sec, 500};
  ASSERT_TRUE(clock.setSystemTime(t).ok);
  EXPECT_NEAR(static_cast<double>(clock.offsetMillis()), -10000.0, 1100.0);
  EXPECT_NEAR(static_cast<double>(lead(clock)), static_cast<double>(clock.offsetMillis()), 50.0);
  EXPECT_EQ(fileText(), std::to_string(clock.offsetMillis()));

  // A shift moves the offset by just that much.
  const int64_t before = clock.offsetMillis();
  ASSERT_TRUE(clock.shiftSystemTime(-1500000).ok);
  EXPECT_NEAR(static_cast<double>(clock.offsetMillis() - before), -1500.0, 5.0);

  EXPECT_NEAR(static_cast<double>(wallMinusMonotonicMillis()), static_cast<double>(machineBefore),
              5.0);
  EXPECT_FALSE(fs::exists(file + ".tmp"));
}

TEST_F(SimulatedClockTest, AnUnwritableFileIsARefusalWithItsReason) {
  SimulatedClock clock((dir / "missing-folder" / "offset").string());
  const ClockResult r = clock.shiftSystemTime(1000);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.notPermitted);
  EXPECT_NE(r.reason.find("simulated clock file"), std::string::npos) << r.reason;
}

// Records what the clock asks of the time service and gives a set answer.
struct RecordingTimeService : TimeService {
  ClockResult setTime(int64_t microseconds, bool relative, const ClockResult& direct) override {
    calls.push_back({microseconds, relative});
    directReason = direct.reason;
    return answer;
  }
  std::vector<std::pair<int64_t, bool>> calls;
  std::string directReason;
  ClockResult answer{false, "not authorised to set the time"};
};

TEST_F(SimulatedClockTest, RefusingDirectSettingAsksTheTimeServiceAndKeepsTheFile) {
  writeOffset("777");
  SimulatedClock alone(file, true);
  const ClockResult refused = alone.shiftSystemTime(5000);
  EXPECT_EQ(refused.reason, std::strerror(EPERM));
  EXPECT_TRUE(refused.notPermitted);

  RecordingTimeService service;
  SimulatedClock clock(file, true, &service);
  EXPECT_EQ(clock.shiftSystemTime(-2500).reason, "not authorised to set the time");
  // A time to set goes as the move to it, so a service slow to answer cannot make it stale.
  const int64_t nowMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count() +
                            777000;
  EXPECT_FALSE(clock.setSystemTime({2026, 3, 0, 4, 5, 6, 7, 890}).ok);
  std::string answered;
  clock.shiftSystemTimeThen(-2500, [&](const ClockResult& r) { answered = r.reason; });
  EXPECT_EQ(answered, "not authorised to set the time");
  ASSERT_EQ(service.calls.size(), 3u);
  EXPECT_EQ(service.calls[0], std::make_pair(int64_t{-2500}, true));
  EXPECT_TRUE(service.calls[1].second);
  EXPECT_NEAR(static_cast<double>(service.calls[1].first),
              static_cast<double>(1772600767890000 - nowMicros), 1e6);
  EXPECT_EQ(service.calls[2], std::make_pair(int64_t{-2500}, true));
  EXPECT_EQ(service.directReason, std::strerror(EPERM));
  EXPECT_EQ(fileText(), "777");
}

TEST_F(SimulatedClockTest, TheProgramsClockIsSimulatedWhenTheVariableNamesAFile) {
  const char* saved = std::getenv("KORVANE_CLOCK_FILE");
  const std::string restore = saved ? saved : "";
  setenv("KORVANE_CLOCK_FILE", file.c_str(), 1);
  writeOffset("-3210");
  auto clock = makeSystemClock();
  auto* simulated = dynamic_cast<SimulatedClock*>(clock.get());
  ASSERT_NE(simulated, nullptr);
  EXPECT_NEAR(static_cast<double>(lead(*simulated)), -3210.0, 50.0);
  if (saved)
    setenv("KORVANE_CLOCK_FILE", restore.c_str(), 1);
  else
    unsetenv("KORVANE_CLOCK_FILE");
}

}  // namespace
}  // namespace korvane::platform
