// The simulated clock: an offset file over the machine's clock, which it never sets.
#include "platform/posix/simulated_clock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

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

  // The local time of day, to the whole second: the offset follows it.
  const SystemTime now = clock.localTime();
  ASSERT_TRUE(clock.setLocalTimeOfDay(now.hour, now.minute, now.second).ok);
  EXPECT_NEAR(static_cast<double>(clock.offsetMillis()), -10000.0, 2100.0);
  const SystemTime after = clock.localTime();
  EXPECT_EQ(after.hour * 3600 + after.minute * 60 + after.second,
            now.hour * 3600 + now.minute * 60 + now.second);

  EXPECT_NEAR(static_cast<double>(wallMinusMonotonicMillis()), static_cast<double>(machineBefore),
              5.0);
  EXPECT_FALSE(fs::exists(file + ".tmp"));
}

TEST_F(SimulatedClockTest, AnUnwritableFileIsARefusalWithItsReason) {
  SimulatedClock clock((dir / "missing-folder" / "offset").string());
  const ClockResult r = clock.setLocalTimeOfDay(12, 0, 0);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.reason.find("simulated clock file"), std::string::npos) << r.reason;
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
