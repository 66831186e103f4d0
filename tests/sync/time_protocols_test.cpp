// The four exchanges on scripted sockets, and every way they end.
#include <cmath>

#include "common/ole_date.h"
#include "sync/ntp_time.h"
#include "sync/sntp_packet.h"
#include "sync_fixture.h"

namespace korvane::sync::testing {
namespace {

constexpr int64_t kUtcSeconds1970 = kStartUtcMillis / 1000;
constexpr uint32_t kUtcSeconds1900 = static_cast<uint32_t>(kUtcSeconds1970 + 2208988800LL);

class TimeProtocolsTest : public SyncFixture {
 protected:
  void start(const char* choice, const char* ports = "37:123:13:519") {
    addServer("peer.example", ports);
    selectServer(1);
    driver.protocolChoice = choice;
    driver.SyncTimeNow_Click();
    runEvents();
  }
  int64_t clockSecondsSince1970() const { return clock.utcMillis() / 1000; }
};

TEST_F(TimeProtocolsTest, TimeReplySetsTheClockByWholeSeconds) {
  start("Default Time Protocol");
  EXPECT_EQ(tcpTime().remotePort(), 37);
  EXPECT_EQ(tcpTime().localPort(), 0);
  tcpTime().deliver(be32(kUtcSeconds1900 - 5));
  EXPECT_EQ(driver.SyncStatus, "Time Adjusted by -5 second(s)");
  EXPECT_EQ(clockSecondsSince1970(), kUtcSeconds1970 - 5);
  EXPECT_EQ(clock.utcMillis() % 1000, 0);  // set to the whole second
  EXPECT_EQ(shell.tip.shown(), " Time Adjusted by -5 second(s) ");
  EXPECT_FALSE(driver.SyncBusy);
  EXPECT_TRUE(button.enabled());
  EXPECT_EQ(shell.dataArrivals, 1);
}

TEST_F(TimeProtocolsTest, TimeReplyIsReadUnsignedAndHonoursTheBias) {
  // 0xEA2C5B00 is 3928775424 s after 1900: 2024-06-30 22:30:24 UTC; local is UTC-5 (daylight).
  clock.setZone({300, "Eastern Standard Time", 0, "Eastern Daylight Time", -60},
                platform::ZoneState::Daylight);
  start("Default Time Protocol");
  tcpTime().deliver({0xEA, 0x2C, 0x5B, 0x00});
  EXPECT_EQ(clockSecondsSince1970(), 3928775424LL - 2208988800LL);
  const platform::SystemTime local = clock.localTime();
  EXPECT_EQ(local.hour, 18);  // 22:30 UTC is 18:30 at UTC-4
  EXPECT_EQ(driver.zone.ZoneName, "Eastern Daylight Time");
}

TEST_F(TimeProtocolsTest, EqualTimesLeaveTheClockAlone) {
  start("Default Time Protocol");
  tcpTime().deliver(be32(kUtcSeconds1900));
  EXPECT_EQ(driver.SyncStatus, "Atomically Correct: No Adjustment!");
  EXPECT_EQ(clock.setCount(), 0);
  EXPECT_EQ(shell.tip.shown(), " Atomically Correct: No Adjustment! ");
}

TEST_F(TimeProtocolsTest, ShortTcpRepliesCannotBeReadAndTimeOut) {
  for (const char* choice : {"Default Time Protocol", "Default UnixTime Protocol!"}) {
    servers.clear();
    tables = ServerTables{};
    button.setEnabled(true);
    start(choice);
    platform::FakeSocket& s = driver.SyncProtocol == 0 ? tcpTime() : tcp519();
    s.deliver({0x12, 0x34});
    EXPECT_EQ(clock.setCount(), 0) << choice;
    EXPECT_TRUE(driver.SyncBusy) << choice;
    EXPECT_EQ(s.state(), platform::SocketState::Closed) << choice;
    for (int i = 0; i < 25; ++i) tick();
    EXPECT_EQ(driver.SyncStatus, "Unable to Synchronize: Timed Out!") << choice;
  }
}

TEST_F(TimeProtocolsTest, UnixTimeReplyCountsFrom1970Unsigned) {
  start("Default UnixTime Protocol!");
  EXPECT_EQ(tcp519().remotePort(), 519);
  tcp519().deliver(be32(static_cast<uint32_t>(kUtcSeconds1970 + 7)));
  EXPECT_EQ(driver.SyncStatus, "Time Adjusted by 7 second(s)");
  EXPECT_EQ(clockSecondsSince1970(), kUtcSeconds1970 + 7);
  // 0x80000000 is 2038, not a negative number.
  servers.clear();
  tables = ServerTables{};
  start("Default UnixTime Protocol!");
  tcp519().deliver({0x80, 0, 0, 0});
  EXPECT_EQ(clockSecondsSince1970(), 2147483648LL);
}

TEST_F(TimeProtocolsTest, DayTimeNistReplyInAnyLocale) {
  start("Default DayTime Protocol");
  EXPECT_EQ(tcp13().remotePort(), 13);
  tcp13().deliverText("\n61016 25-12-07 16:05:40 00 0 0 123.4 UTC(NIST) * \n");
  EXPECT_EQ(driver.SyncStatus, "Time Adjusted by -5 second(s)");
  EXPECT_EQ(clockSecondsSince1970(), kUtcSeconds1970 - 5);
}

TEST_F(TimeProtocolsTest, DayTimeFallbackFormAndZone) {
  start("Default DayTime Protocol");
  tcp13().deliverText("Sun Dec  7 11:05:50 EST 2025\r\n");  // 16:05:50 UTC
  EXPECT_EQ(driver.SyncStatus, "Time Adjusted by 5 second(s)");
}

TEST_F(TimeProtocolsTest, DayTimeUnparsableReplyBecomesTheStatus) {
  // Its first line, without control characters, cut to a length a status line can show.
  const std::pair<std::string, std::string> cases[] = {
      {"server is resting\r\n", "server is resting"},
      {"x", "x"},
      {"\r\n go\taway\x1b[2J\r\nsecond line\r\n", "goaway[2J"},
      {std::string(300, 'y') + "\r\n", std::string(80, 'y') + "..."},
      {"", ""}};
  for (const auto& [reply, status] : cases) {
    servers.clear();
    tables = ServerTables{};
    button.setEnabled(true);
    start("Default DayTime Protocol");
    tcp13().deliverText(reply);
    if (reply.empty()) continue;  // nothing arrives, nothing happens
    EXPECT_EQ(driver.SyncStatus, status) << reply;
    EXPECT_FALSE(driver.SyncBusy);
    EXPECT_TRUE(button.enabled());
    EXPECT_EQ(clock.setCount(), 0);
  }
}

TEST_F(TimeProtocolsTest, DayTimeReadFailureClearsBusyAndLeavesStatusForTheTimeOut) {
  start("Default DayTime Protocol");
  tcp13().failReads(true);
  tcp13().deliverText("08 DEC 2026 05:05:11 UTC\r\n");
  EXPECT_FALSE(driver.SyncBusy);
  EXPECT_TRUE(button.enabled());
  EXPECT_EQ(driver.SyncStatus, "Synchronizing using DayTime...");
  for (int i = 0; i < 25; ++i) tick();
  EXPECT_EQ(driver.SyncStatus, "Unable to Synchronize: Timed Out!");
}

TEST_F(TimeProtocolsTest, SocketErrorEndsWithTheDescriptionAndClosesTheSocket) {
  start("Default Time Protocol");
  tcpTime().setClosesNeeded(3);
  tcpTime().raiseError(10061, "Connection refused");
  EXPECT_EQ(driver.SyncStatus, "Connection refused");
  EXPECT_FALSE(driver.SyncBusy);
  EXPECT_TRUE(button.enabled());
  EXPECT_EQ(shell.tip.shown().substr(0, 21), "KRV - No Adjustment: ");
  EXPECT_EQ(shell.tip.raw().find('\0'), std::string::npos);
  EXPECT_EQ(tcpTime().state(), platform::SocketState::Closed);
  EXPECT_GE(events.passes, 3);
}

TEST_F(TimeProtocolsTest, PeerCloseOfTimeSocketEnablesTheButton) {
  start("Default Time Protocol");
  tcpTime().peerClose();
  EXPECT_TRUE(button.enabled());
  EXPECT_EQ(tcpTime().state(), platform::SocketState::Closed);
}

class SntpTest : public TimeProtocolsTest {
 protected:
  // A reply from a server whose clock is ahead by offsetMs, after a one-way delay of delayMs.
  std::vector<uint8_t> reply(double offsetMs, int delayMs) {
    const auto request = udp123().sent.at(0);
    NtpTimestamp t1;
    NtpTimestamp::readAt(request, sntp::kTransmitOffset, t1);
    clock.advance(delayMs);
    auto stamp = [&](int64_t utcMillis1970) {
      const double ms = static_cast<double>(utcMillis1970) + offsetMs + 2208988800000.0;
      const double secs = std::floor(ms / 1000);
      return NtpTimestamp::fromParts(
          static_cast<uint32_t>(static_cast<uint64_t>(secs)),  // the low 32 bits, as on the wire
          static_cast<uint32_t>((ms - secs * 1000) / 1000 * 4294967296.0));
    };
    std::vector<uint8_t> r(48, 0);
    r[0] = 0x24;
    r[1] = 1;
    const NtpTimestamp t2 = stamp(clock.utcMillis()), t3 = stamp(clock.utcMillis());
    std::copy(t1.bytes.begin(), t1.bytes.end(), r.begin() + 24);
    std::copy(t2.bytes.begin(), t2.bytes.end(), r.begin() + 32);
    std::copy(t3.bytes.begin(), t3.bytes.end(), r.begin() + 40);
    clock.advance(delayMs);
    return r;
  }
};

TEST_F(SntpTest, RequestAndOffsetCorrectedClock) {
  start("Default SNTP Protocol");
  ASSERT_EQ(udp123().sent.size(), 1u);
  EXPECT_EQ(udp123().sent[0].size(), 48u);
  EXPECT_EQ(udp123().sent[0][0], 0x1B);
  EXPECT_EQ(udp123().protocol(), platform::SocketProtocol::Udp);
  EXPECT_EQ(udp123().binds, 1);
  EXPECT_EQ(led2.picture(), kLampLit);
  const int64_t trueUtc = clock.utcMillis() + 40 + 1234;  // the server is 1234 ms ahead
  udp123().deliver(reply(1234, 20));
  EXPECT_EQ(driver.SyncStatus, " KRV Adjusted by: 1234 ms ");
  EXPECT_TRUE(clock.lastSetWasShift());  // a time service's delay must not move the clock
  EXPECT_NEAR(static_cast<double>(clock.utcMillis()), static_cast<double>(trueUtc), 2);
  EXPECT_EQ(shell.tip.shown(), "  KRV Adjusted by: 1234 ms  ");
  EXPECT_EQ(driver.RoundTripMs, 40u);
  EXPECT_FALSE(driver.SyncBusy);
  EXPECT_NE(udp123().state(), platform::SocketState::Closed);  // stays open after a good reply
}

TEST_F(SntpTest, ACorrectClockIsNotMovedByTheDelay) {
  start("Default SNTP Protocol");
  const int64_t before = clock.utcMillis();
  udp123().deliver(reply(0, 150));
  EXPECT_EQ(driver.SyncStatus, " KRV Adjusted by: 0 ms ");
  EXPECT_NEAR(static_cast<double>(clock.utcMillis() - before), 300, 2);
}

// The 32-bit counts wrap: Time's and SNTP's in 2036, UnixTime's in 2106. A server on the other
// side of the wrap from the clock is read in the clock's era.
TEST_F(SntpTest, CountsAreReadInTheEraOfTheLocalClock) {
  constexpr int64_t kNtpWrap = (int64_t{1} << 32) - 2208988800LL;  // seconds since 1970
  constexpr int64_t kUnixWrap = int64_t{1} << 32;
  struct Case {
    const char* choice;
    int64_t clockSeconds;  // since 1970
    int delta;             // the server is ahead by this many seconds
  };
  const Case cases[] = {
      {"Default Time Protocol", kNtpWrap - 2, 5},
      {"Default Time Protocol", kNtpWrap + 2, -5},
      {"Default UnixTime Protocol!", kUnixWrap - 2, 5},
      {"Default UnixTime Protocol!", kUnixWrap + 2, -5},
  };
  for (const Case& c : cases) {
    servers.clear();
    tables = ServerTables{};
    button.setEnabled(true);
    clock.advance(c.clockSeconds * 1000 - clock.utcMillis());
    start(c.choice);
    const bool time = driver.SyncProtocol == 0;
    const int64_t server = c.clockSeconds + c.delta + (time ? 2208988800LL : 0);
    (time ? tcpTime() : tcp519()).deliver(be32(static_cast<uint32_t>(server)));
    EXPECT_EQ(driver.SyncStatus, "Time Adjusted by " + std::to_string(c.delta) + " second(s)")
        << c.choice << " " << c.clockSeconds;
    EXPECT_EQ(clock.utcMillis(), (c.clockSeconds + c.delta) * 1000);
  }
  servers.clear();
  tables = ServerTables{};
  button.setEnabled(true);
  clock.advance(kNtpWrap * 1000 - 500 - clock.utcMillis());
  start("Default SNTP Protocol");
  udp123().deliver(reply(1234, 20));
  EXPECT_EQ(driver.SyncStatus, " KRV Adjusted by: 1234 ms ");
}

TEST_F(SntpTest, WrongSizeRepliesWaitForTheTimeOut) {
  for (size_t size : {47u, 68u}) {
    servers.clear();
    tables = ServerTables{};
    button.setEnabled(true);
    start("Default SNTP Protocol");
    udp123().deliver(std::vector<uint8_t>(size, 0x24));
    EXPECT_TRUE(driver.SyncBusy) << size;
    EXPECT_TRUE(button.enabled()) << size;
    EXPECT_EQ(driver.SyncStatus, "Synchronizing using SNTP...");
    EXPECT_EQ(clock.setCount(), 0);
  }
}

TEST_F(SntpTest, RefusedRepliesReturnToIdleAndSetNothing) {
  start("Default SNTP Protocol");
  auto r = reply(1000, 10);
  r[1] = 0;  // kiss-o'-death
  udp123().deliver(r);
  EXPECT_NE(driver.SyncStatus.find("turned the request away"), std::string::npos);
  EXPECT_FALSE(driver.SyncBusy);
  EXPECT_TRUE(button.enabled());
  EXPECT_EQ(clock.setCount(), 0);
  EXPECT_TRUE(shell.tip.contains("KRV - No Adjustment"));
}

TEST_F(SntpTest, AStrayDatagramIsDroppedAndTheExchangeWaitsForItsAnswer) {
  start("Default SNTP Protocol");
  const std::vector<uint8_t> answer = reply(1000, 10);
  udp123().deliver(answer, /*fromRemote=*/false);
  udp123().deliver({1, 2, 3}, /*fromRemote=*/false);
  EXPECT_EQ(driver.SyncStatus, "Synchronizing using SNTP...");
  EXPECT_TRUE(driver.SyncBusy);
  udp123().deliver(answer);
  EXPECT_EQ(driver.SyncStatus, " KRV Adjusted by: 1000 ms ");
}

TEST_F(SntpTest, OneReplyPerRequestALaterCopyMovesNothing) {
  start("Default SNTP Protocol");
  const std::vector<uint8_t> answer = reply(0, 10);
  udp123().deliver(answer);
  const int64_t set = clock.utcMillis();
  clock.advance(2170);
  udp123().deliver(answer);
  EXPECT_EQ(clock.setCount(), 1);
  EXPECT_EQ(clock.utcMillis(), set + 2170);
  EXPECT_EQ(driver.SyncStatus, " KRV Adjusted by: 0 ms ");
}

TEST_F(SntpTest, TheRequestIsStampedOnceTheHostIsResolved) {
  addServer("peer.example", "37:123:13:519");
  selectServer(1);
  driver.SyncTimeNow_Click();
  EXPECT_EQ(udp123().resolves, 1);
  EXPECT_TRUE(udp123().sent.empty()) << "sent before the host was known";
  clock.advance(300);  // the look-up takes its time
  runEvents();
  ASSERT_EQ(udp123().sent.size(), 1u);
  const NtpTimestamp now = ntpTimestampOf(clock.localTime(), 0);
  EXPECT_TRUE(std::equal(now.bytes.begin(), now.bytes.end(),
                         udp123().sent[0].begin() + sntp::kTransmitOffset));
}

TEST_F(SntpTest, OffsetBeyondInt32SetsNothing) {
  start("Default SNTP Protocol");
  udp123().deliver(reply(30.0 * 86400 * 1000, 10));
  EXPECT_EQ(clock.setCount(), 0);
  EXPECT_TRUE(driver.SyncBusy);
}

// A failure the system reports at once still comes from the loop: the "Checking" tip is set
// first, and the error's tip is the one that stays.
TEST_F(TimeProtocolsTest, AnImmediateSocketFailureEndsLaterWithTheErrorTip) {
  for (const char* choice : {"Default Time Protocol", "Default SNTP Protocol"}) {
    servers.clear();
    tables = ServerTables{};
    button.setEnabled(true);
    addServer("peer.example", "37:123:13:519");
    selectServer(1);
    driver.protocolChoice = choice;
    (driver.protocolChoice == "Default Time Protocol" ? tcpTime() : udp123())
        .failNext("Network is unreachable");
    driver.SyncTimeNow_Click();
    EXPECT_TRUE(shell.tip.contains("Checking Time Server")) << choice;
    EXPECT_TRUE(driver.SyncBusy);
    runEvents();
    EXPECT_EQ(driver.SyncStatus, "Network is unreachable") << choice;
    EXPECT_TRUE(shell.tip.contains("KRV - No Adjustment")) << choice;
    EXPECT_FALSE(driver.SyncBusy);
    EXPECT_TRUE(button.enabled());
  }
}

TEST_F(TimeProtocolsTest, RefusedClockChangeIsReportedNotClaimed) {
  clock.refuseChanges("Operation not permitted");
  start("Default Time Protocol");
  tcpTime().deliver(be32(kUtcSeconds1900 + 60));
  EXPECT_EQ(driver.SyncStatus, "Unable to set the clock: Operation not permitted");
  EXPECT_TRUE(shell.tip.contains("KRV - No Adjustment: Operation not permitted"));
  EXPECT_FALSE(shell.tip.contains("Adjusted by"));
  EXPECT_FALSE(driver.SyncBusy);
  EXPECT_TRUE(button.enabled());
}

}  // namespace
}  // namespace korvane::sync::testing
