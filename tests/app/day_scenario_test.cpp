// SPDX-License-Identifier: GPL-3.0-or-later
// Days of automatic synchronisation, run on the fake scheduler against scripted servers.
#include <algorithm>
#include <cstdio>
#include <functional>

#include "app/program_fixture.h"
#include "common/ntp_timestamp.h"
#include "common/ole_date.h"
#include "sync/ntp_time.h"

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
  // A day at five minutes against a server of the protocol answering every exchange.
  void runADayOf(sync::Protocol p);
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

// The server's answer, kServerAhead seconds ahead of the fake clock, in the protocol's form: an
// SNTP packet answering the request, or a DayTime line in two pieces cut inside the time.
std::vector<std::string> answerOf(sync::Protocol p, const platform::FakeClock& clock,
                                  const std::vector<uint8_t>& request) {
  const int64_t ms = clock.utcMillis() + kServerAhead * kSecond;
  if (p == sync::Protocol::Sntp) {
    std::string r(48, '\0');
    r[0] = 0x24;  // version 4, server
    r[1] = 2;
    std::copy(request.begin() + 40, request.begin() + 48, r.begin() + 24);
    const NtpTimestamp t = NtpTimestamp::fromParts(
        static_cast<uint32_t>(ms / 1000 + kSeconds1900To1970),
        static_cast<uint32_t>(static_cast<double>(ms % 1000) / 1000 * 4294967296.0));
    std::copy(t.bytes.begin(), t.bytes.end(), r.begin() + 32);
    std::copy(t.bytes.begin(), t.bytes.end(), r.begin() + 40);
    return {r};
  }
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const platform::SystemTime u =
      sync::systemTimeFromMillisSince1900(ms + kSeconds1900To1970 * 1000);
  char line[64];
  std::snprintf(line, sizeof line, "%02d %s %04d %02d:%02d:%02d UTC\r\n", u.day,
                kMonths[u.month - 1], u.year, u.hour, u.minute, u.second);
  const std::string text = line;
  return {text.substr(0, 17), text.substr(17)};
}

// A day of SNTP, and a day of DayTime whose every line arrives in two pieces: each interval
// sets the clock once, by the server's whole answer.
void DayScenarioTest::runADayOf(sync::Protocol p) {
  {
    setting("Protocol",
            p == sync::Protocol::Sntp ? "Default SNTP Protocol" : "Default DayTime Protocol");
    files.putInProgramFolder(std::string(sync::kServerListFile),
                             "list\r\nh2\r\nh3\r\nh4\r\nh5\r\n"
                             "127.0.0.1:::Loopback Server NA:::27:::37:123:13:0\r\n");
    KorvaneProgram& prog = make("-rs");
    ASSERT_TRUE(prog.start());
    const int setsBefore = clock.setCount();
    int syncs = 0;
    for (int64_t t = 0; t < kDay; t += kSecond) {
      const size_t sent = timeSocket().sent.size();
      const int connects = timeSocket().connects;
      scheduler.run(kSecond);
      if (timeSocket().sent.size() == sent && timeSocket().connects == connects) continue;
      ++syncs;
      const std::vector<uint8_t> request =
          p == sync::Protocol::Sntp ? timeSocket().sent.back() : std::vector<uint8_t>{};
      for (const std::string& piece : answerOf(p, clock, request)) timeSocket().deliverText(piece);
      ASSERT_FALSE(prog.mainWindow().synchronising()) << prog.mainWindow().SyncStatus;
    }
    EXPECT_EQ(syncs, 288);
    EXPECT_EQ(clock.setCount() - setsBefore, 288) << prog.mainWindow().SyncStatus;
    EXPECT_NE(prog.mainWindow().SyncStatus.find(p == sync::Protocol::Sntp ? "KRV Adjusted by: 20"
                                                                          : "Time Adjusted by 2"),
              std::string::npos)
        << prog.mainWindow().SyncStatus;
  }
}

TEST_F(DayScenarioTest, ADayOfSntpSetsTheClockAtEveryInterval) {
  runADayOf(sync::Protocol::Sntp);
}

TEST_F(DayScenarioTest, ADayOfDayTimeInPiecesSetsTheClockAtEveryInterval) {
  runADayOf(sync::Protocol::DayTime);
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
