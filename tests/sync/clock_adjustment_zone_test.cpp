// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-second replies set the real POSIX clock code (over a simulated clock file) in a zone
// with daylight saving: in both passes of the repeated hour and across midnight.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_socket.h"
#include "platform/posix/simulated_clock.h"
#include "sync/synchroniser.h"

namespace korvane::sync {
namespace {

namespace fs = std::filesystem;

// 2026-11-01 00:00:00 UTC; New York leaves daylight time at 06:00 UTC that day.
constexpr int64_t kNov1Utc = 1793491200;
constexpr int64_t kSeconds1900To1970 = 2208988800LL;

std::vector<uint8_t> be32(uint32_t v) {
  return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

int64_t machineMillis() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

class ZoneClockAdjustmentTest : public ::testing::Test {
 protected:
  ZoneClockAdjustmentTest()
      : file((fs::temp_directory_path() / ("korvane-zone-clock-" + std::to_string(getpid())))
                 .string()),
        clock(file),
        sync({clock, events, locale, rng, sockets}) {
    sync.onOutcome = [this](const SyncOutcome& o) { outcome = o; };
    const char* tz = std::getenv("TZ");
    savedTz = tz ? std::optional<std::string>(tz) : std::nullopt;
    setenv("TZ", "America/New_York", 1);
    tzset();
  }
  ~ZoneClockAdjustmentTest() override {
    if (savedTz)
      setenv("TZ", savedTz->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
    fs::remove(file);
  }

  // Makes the simulated clock read utcSeconds (since 1970) now.
  void setSimulated(int64_t utcSeconds) {
    std::ofstream(file) << utcSeconds * 1000 - machineMillis() << '\n';
  }
  int64_t simulatedMillis() const { return machineMillis() + clock.offsetMillis(); }

  std::string file;
  platform::SimulatedClock clock;
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom rng;
  platform::FakeSocketFactory sockets;
  Synchroniser sync;
  std::optional<SyncOutcome> outcome;
  std::optional<std::string> savedTz;
};

TEST_F(ZoneClockAdjustmentTest, ServerTimeIsSetAsUtcInTheRepeatedHourAndAcrossMidnight) {
  struct Case {
    const char* name;
    const char* choice;
    int64_t startUtc;  // where the simulated clock stands
    int ahead;         // how far the server is ahead, seconds
  };
  const Case cases[] = {
      {"01:30 EDT, first pass", "Default Time Protocol", kNov1Utc + 5 * 3600 + 1800, 5},
      {"01:30 EST, second pass", "Default Time Protocol", kNov1Utc + 6 * 3600 + 1800, 5},
      {"01:59:58 EDT into EST", "Default UnixTime Protocol!", kNov1Utc + 5 * 3600 + 3598, 5},
      {"01:00:02 EST back into EDT", "Default UnixTime Protocol!", kNov1Utc + 6 * 3600 + 2, -5},
      {"23:59:58 forward past midnight", "Default Time Protocol", kNov1Utc + 4 * 3600 - 2, 5},
      {"00:00:02 back before midnight", "Default UnixTime Protocol!", kNov1Utc + 4 * 3600 + 2, -5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setSimulated(c.startUtc);
    outcome.reset();
    ASSERT_TRUE(sync.start({"peer.example", "37:123:13:519"}, c.choice));
    const bool unixTime = sync.protocol() == Protocol::UnixTime;
    const int64_t server = c.startUtc + c.ahead + (unixTime ? 0 : kSeconds1900To1970);
    sockets.made.at(0)->deliver(be32(static_cast<uint32_t>(server)));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->kind, OutcomeKind::Adjusted);
    EXPECT_EQ(outcome->amount, c.ahead);
    // Set to the server's whole second; only the test's own run time has passed since.
    const int64_t lead = simulatedMillis() - (c.startUtc + c.ahead) * 1000;
    EXPECT_GE(lead, 0);
    EXPECT_LT(lead, 1000);
  }
}

}  // namespace
}  // namespace korvane::sync
