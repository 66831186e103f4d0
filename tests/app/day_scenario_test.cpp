// A day of automatic synchronisation, run on the fake scheduler against a scripted Time server.
#include <algorithm>
#include <functional>

#include "app/program_fixture.h"

namespace korvane::app::testing {
namespace {

constexpr int64_t kSecond = 1000;
constexpr int64_t kDay = 86400 * kSecond;
constexpr int kServerAhead = 2;  // seconds; every synchronisation sets the clock

class DayScenarioTest : public ProgramFixture {
 protected:
  // Runs the program's timers for millis, a second at a time; every connection the driver makes
  // is answered within that second. Returns the seconds (since the run began) of each sync.
  std::vector<int64_t> runAnswering(int64_t millis) {
    std::vector<int64_t> syncs;
    for (int64_t t = 0; t < millis; t += kSecond) {
      if (beforeSecond) beforeSecond(t);
      const int seen = timeSocket().connects;
      scheduler.run(kSecond);
      if (timeSocket().connects != seen) {
        syncs.push_back((t + kSecond) / kSecond);
        timeSocket().deliver(timeReply(kServerAhead));
      }
    }
    return syncs;
  }
  shell::NXO_KRV& startAnswered() {
    KorvaneProgram& p = make();
    EXPECT_TRUE(p.start());
    timeSocket().deliver(timeReply());  // the synchronisation of the start
    return p.mainWindow();
  }
  std::function<void(int64_t)> beforeSecond;
};

TEST_F(DayScenarioTest, ADayAtFiveMinutesSynchronises288Times) {
  shell::NXO_KRV& w = startAnswered();
  const std::vector<int64_t> syncs = runAnswering(kDay);
  ASSERT_EQ(syncs.size(), 288u);
  for (size_t k = 0; k < syncs.size(); ++k) EXPECT_EQ(syncs[k], 300 * int64_t(k + 1)) << k;
  EXPECT_FALSE(w.synchronising());
  EXPECT_EQ(w.SyncStatus, "Time Adjusted by 2 second(s)");
  EXPECT_EQ(clock.setCount(), 288) << "each in one call";
  EXPECT_EQ(scheduler.elapsed(), kDay);
}

TEST_F(DayScenarioTest, AZoneChangeSynchronisesAtOnceAndTheIntervalRestartsFromIt) {
  shell::NXO_KRV& w = startAnswered();
  constexpr int64_t kChange = 43350;  // half a day and half an interval
  beforeSecond = [this](int64_t t) {
    if (t == (kChange - 1) * kSecond)
      clock.setZone({-60, "CET", 0, "CEST", -60}, platform::ZoneState::Standard);
  };
  const std::vector<int64_t> syncs = runAnswering(kDay);
  const auto at = std::find(syncs.begin(), syncs.end(), kChange);
  ASSERT_NE(at, syncs.end()) << "the zone change synchronises on its own tick";
  EXPECT_EQ(at - syncs.begin(), 144) << "144 interval synchronisations came before it";
  ASSERT_NE(at + 1, syncs.end());
  EXPECT_EQ(*(at + 1), kChange + 300) << "the interval counts from the zone's synchronisation";
  // The restarted interval fits 143 more before the day ends: 144 + 1 + 143.
  EXPECT_EQ(syncs.size(), 288u);
  EXPECT_EQ(w.Current.toolTipText(), " Current Time Zone: CET ");
}

TEST_F(DayScenarioTest, AServerThatNeverAnswersTimesOutAndTheNextIntervalTriesAgain) {
  shell::NXO_KRV& w = startAnswered();
  scheduler.run(300 * kSecond);
  EXPECT_EQ(timeSocket().connects, 2);
  EXPECT_TRUE(w.synchronising());
  scheduler.run(25 * kSecond);
  EXPECT_FALSE(w.synchronising());
  EXPECT_NE(w.Current.text().find("Timed Out"), std::string::npos) << w.Current.text();
  scheduler.run(275 * kSecond);
  EXPECT_EQ(timeSocket().connects, 3);
}

// A first run: no settings and no server list. The list is fetched, read, and the promised
// synchronisation runs with its first server; a run-once instance waits for it meanwhile.
TEST_F(DayScenarioTest, AFirstRunDownloadsTheListThenSetsTheClock) {
  registry = platform::FakeRegistry{};
  files = platform::FakeFiles{};
  environment.host = "127.0.0.1:8080";
  KorvaneProgram& p = make("-ro");
  // The version information has named the list already: its exchange is the service's own test.
  p.updates().downloadFlag = true;
  ASSERT_TRUE(p.start());
  shell::NXO_KRV& w = p.mainWindow();
  platform::FakeSocket& http = *sockets.made.at(1);
  ASSERT_EQ(http.connects, 1) << "the missing list is fetched";
  scheduler.run(3 * kSecond);
  EXPECT_TRUE(w.loaded()) << "run-once waits for the list it is downloading";
  const std::string list =
      "list\r\nh2\r\nh3\r\nh4\r\nh5\r\n127.0.0.1:::Loopback Server NA:::27:::37:0:0:0\r\n";
  http.onConnect();
  http.deliverText("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(list.size()) +
                   "\r\n\r\n" + list);
  ASSERT_EQ(w.Servers.count(), 1) << w.SyncStatus;
  ASSERT_EQ(timeSocket().connects, 1) << "no synchronisation after the new list";
  EXPECT_EQ(timeSocket().remoteHost(), "127.0.0.1");
  timeSocket().deliver(timeReply(4));
  EXPECT_EQ(w.SyncStatus, "Time Adjusted by 4 second(s)");
  EXPECT_TRUE(w.clockSynchronised());
}

// The system refuses the change: nothing is claimed, the tray shows no success, and the next
// interval tries again.
TEST_F(DayScenarioTest, ARefusedClockChangeIsReportedAndTriedAgainAtTheInterval) {
  clock.refuseChanges("automatic time synchronisation is on; turn it off with: timedatectl");
  KorvaneProgram& p = make();
  ASSERT_TRUE(p.start());
  shell::NXO_KRV& w = p.mainWindow();
  timeSocket().deliver(timeReply(3));
  EXPECT_EQ(w.SyncStatus,
            "Unable to set the clock: automatic time synchronisation is on; turn it "
            "off with: timedatectl");
  EXPECT_FALSE(w.clockSynchronised());
  EXPECT_TRUE(w.SyncTimeNow.enabled());
  scheduler.run(300 * kSecond);
  EXPECT_EQ(timeSocket().connects, 2);
  EXPECT_EQ(clock.setCount(), 0);
}

}  // namespace
}  // namespace korvane::app::testing
