// SPDX-License-Identifier: GPL-3.0-or-later
// The query tool's exchange on scripted sockets: offsets, round trips, refusals, never a setting.
#include <gtest/gtest.h>

#include <optional>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_socket.h"
#include "sync/ntp_time.h"
#include "sync/query_exchange.h"
#include "sync/sntp_packet.h"

namespace korvane::sync {
namespace {

// 2026-12-08 05:05:13.400 UTC.
constexpr int64_t kNowUtcMillis = 1796706313400LL;
constexpr int64_t kNowSeconds1900 = kNowUtcMillis / 1000 + kSeconds1900To1970;

std::vector<uint8_t> be32(uint32_t v) {
  return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

class QueryExchangeTest : public ::testing::Test {
 protected:
  void start(Protocol p) {
    exchange.start(p, " peer.example ", [this](const QueryOutcome& o) {
      ++outcomes;
      got = o;
    });
  }
  platform::FakeSocket& socket() { return *sockets.made.at(0); }
  void expectFailure(const std::string& error) {
    ASSERT_TRUE(got);
    EXPECT_FALSE(got->ok);
    EXPECT_EQ(got->error, error);
  }

  platform::FakeClock clock{kNowUtcMillis};
  platform::FakeLocale locale;
  platform::FakeSocketFactory sockets;
  double steady = 5000;
  QueryExchange exchange{clock, locale, sockets, [this] { return steady; }};
  std::optional<QueryOutcome> got;
  int outcomes = 0;
};

TEST_F(QueryExchangeTest, WholeSecondRepliesGiveTheOffsetAndRoundTrip) {
  struct Case {
    Protocol protocol;
    int port;
    std::vector<uint8_t> reply;
    double offsetMillis;
  };
  const uint32_t unix = static_cast<uint32_t>(kNowUtcMillis / 1000);
  const Case cases[] = {
      {Protocol::Time, 37, be32(static_cast<uint32_t>(kNowSeconds1900 - 2)), -2000},
      {Protocol::Time, 37, be32(static_cast<uint32_t>(kNowSeconds1900 + 4)), 4000},
      {Protocol::UnixTime, 519, be32(unix + 3), 3000},
      {Protocol::UnixTime, 519, be32(unix), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(protocolName(c.protocol));
    got.reset();
    start(c.protocol);
    EXPECT_EQ(socket().protocol(), platform::SocketProtocol::Tcp);
    EXPECT_EQ(socket().remotePort(), c.port);
    EXPECT_EQ(socket().remoteHost(), "peer.example");
    steady += 1.25;
    socket().deliver(c.reply);
    ASSERT_TRUE(got);
    EXPECT_TRUE(got->ok) << got->error;
    EXPECT_EQ(got->offsetMillis, c.offsetMillis);
    EXPECT_DOUBLE_EQ(got->delayMillis, 1.25);
  }
  EXPECT_EQ(clock.setCount(), 0);
}

TEST_F(QueryExchangeTest, TheOffsetDoesNotDependOnTheTimeZone) {
  clock.setZone({300, "EST", 0, "EDT", -60}, platform::ZoneState::Daylight);
  start(Protocol::Time);
  socket().deliver(be32(static_cast<uint32_t>(kNowSeconds1900 - 3)));
  ASSERT_TRUE(got && got->ok);
  EXPECT_EQ(got->offsetMillis, -3000);
}

TEST_F(QueryExchangeTest, AReplyOfFewerThanFourBytesWaitsThenIsRefusedAtTheClose) {
  start(Protocol::UnixTime);
  socket().deliver({0x69, 0x55});
  EXPECT_FALSE(got);
  socket().peerClose();
  expectFailure("UnixTime reply refused: the server closed the connection before sending 4 bytes");
}

TEST_F(QueryExchangeTest, DayTimeFormsAndALineThatArrivesInPieces) {
  struct Case {
    std::vector<std::string> pieces;
    double offsetMillis;
  };
  const Case cases[] = {
      {{"08 DEC 2026 05:05:11 UTC\r\n"}, -2000},
      {{"Tue Dec  8 05:05:16 2026\r\n"}, 3000},
      {{"\n61382 26-12-08 05:05:09 00 0 0  50.0 UTC(NIST) * \n"}, -4000},
      {{"08 DEC 2026 05:0", "5:1", "1 UTC\r\n"}, -2000},
      {{"\n", "08 DEC 2026 00:05:13 EST\r\n"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pieces.back());
    got.reset();
    start(Protocol::DayTime);
    EXPECT_EQ(socket().remotePort(), 13);
    for (size_t i = 0; i < c.pieces.size(); ++i) {
      EXPECT_FALSE(got) << "read before the line was complete";
      socket().deliverText(c.pieces[i]);
    }
    ASSERT_TRUE(got);
    EXPECT_TRUE(got->ok) << got->error;
    EXPECT_EQ(got->offsetMillis, c.offsetMillis);
  }
}

TEST_F(QueryExchangeTest, DayTimeWithoutALineEndIsReadAtTheClose) {
  start(Protocol::DayTime);
  socket().deliverText("08 DEC 2026 05:05:14 UTC");
  EXPECT_FALSE(got);
  socket().peerClose();
  ASSERT_TRUE(got && got->ok);
  EXPECT_EQ(got->offsetMillis, 1000);
}

TEST_F(QueryExchangeTest, DayTimeThatIsNoDateIsRefusedWithTheTextMadeSafe) {
  start(Protocol::DayTime);
  socket().deliverText("go away\x1b[2J\r\n");
  expectFailure("DayTime reply refused: not a date and time: \"go away[2J\"");
  start(Protocol::DayTime);
  socket().peerClose();
  expectFailure("DayTime reply refused: the server closed the connection without a reply");
}

TEST_F(QueryExchangeTest, AnEndlessDayTimeLineIsRefusedInsteadOfKept) {
  start(Protocol::DayTime);
  for (int i = 0; i < 4 && !got; ++i) socket().deliverText(std::string(1500, 'x'));
  expectFailure("DayTime reply refused: more than 4096 characters without a line end");
}

TEST_F(QueryExchangeTest, SocketErrorsAndTheTimeOutEndTheExchangeOnce) {
  start(Protocol::Time);
  socket().raiseError(10061, "Connection refused");
  expectFailure("Connection refused");
  start(Protocol::Sntp);
  exchange.timeOut();
  expectFailure("timed out");
  socket().deliver(std::vector<uint8_t>(48, 0));  // too late: nobody is told twice
  exchange.timeOut();
  EXPECT_EQ(outcomes, 2);
  EXPECT_FALSE(exchange.running());
  start(Protocol::Sntp);
  EXPECT_TRUE(exchange.running());
}

TEST_F(QueryExchangeTest, TheRequestIsStampedOnceTheHostIsResolvedAndAFailedSendReported) {
  platform::FakeEventLoop events;
  platform::FakeSocketFactory looped(&events);
  QueryExchange ex(clock, locale, looped, [] { return 0.0; });
  platform::FakeSocket& s = *looped.made.at(0);
  s.failNext("Network is unreachable");
  std::optional<QueryOutcome> outcome;
  ex.start(Protocol::Sntp, "peer.example", [&](const QueryOutcome& o) { outcome = o; });
  EXPECT_EQ(s.resolves, 1);
  clock.advance(300);  // the look-up takes its time
  events.doEvents();
  EXPECT_FALSE(outcome) << "a failed send is an event of its own";
  events.doEvents();
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->error, "Network is unreachable");

  ex.start(Protocol::Sntp, "peer.example", [&](const QueryOutcome& o) { outcome = o; });
  EXPECT_TRUE(s.sent.empty()) << "sent before the host was known";
  clock.advance(300);
  events.doEvents();
  ASSERT_EQ(s.sent.size(), 1u);
  const NtpTimestamp now = ntpTimestampOf(clock.localTime(), 0);
  EXPECT_TRUE(std::equal(now.bytes.begin(), now.bytes.end(), s.sent[0].begin() + 40));
}

class QuerySntpTest : public QueryExchangeTest {
 protected:
  static NtpTimestamp stamp(double millisSince1900) {
    const auto ms = static_cast<int64_t>(millisSince1900);
    return NtpTimestamp::fromParts(static_cast<uint32_t>(ms / 1000),
                                   static_cast<uint32_t>((ms % 1000) * 4294967296.0 / 1000));
  }
  // A server reply to the request that was sent, with the given receive and transmit times.
  std::vector<uint8_t> reply(double t2, double t3) {
    std::vector<uint8_t> r(48, 0);
    r[0] = 0x1C;  // LI 0, version 3, mode 4
    r[1] = 8;
    const std::vector<uint8_t>& request = socket().sent.at(0);
    std::copy(request.begin() + 40, request.end(), r.begin() + 24);
    const NtpTimestamp a = stamp(t2), b = stamp(t3);
    std::copy(a.bytes.begin(), a.bytes.end(), r.begin() + 32);
    std::copy(b.bytes.begin(), b.bytes.end(), r.begin() + 40);
    return r;
  }
  static constexpr double kT1 = (kNowSeconds1900 * 1000.0) + 400;
};

TEST_F(QuerySntpTest, OffsetFromTheFourTimestampsAndDelayByTheSteadyClock) {
  start(Protocol::Sntp);
  EXPECT_EQ(socket().protocol(), platform::SocketProtocol::Udp);
  EXPECT_EQ(socket().remotePort(), 123);
  EXPECT_EQ(socket().binds, 1);
  ASSERT_EQ(socket().sent.size(), 1u);
  const std::vector<uint8_t>& request = socket().sent[0];
  ASSERT_EQ(request.size(), 48u);
  EXPECT_EQ(request[0], 0x1B);
  const NtpTimestamp t1 = ntpTimestampOf(clock.localTime(), 0);
  EXPECT_TRUE(std::equal(t1.bytes.begin(), t1.bytes.end(), request.begin() + 40));

  // The server's clock is 2345 ms behind; each way takes 3 ms; it holds the request 1 ms.
  clock.advance(7);
  steady += 7;
  socket().deliver(reply(kT1 + 3 - 2345, kT1 + 4 - 2345));
  ASSERT_TRUE(got);
  ASSERT_TRUE(got->ok) << got->error;
  // T1 and T4 are read as the middle of their millisecond: ((T2-T1) + (T3-T4)) / 2.
  const double expected = ((kT1 + 3 - 2345 - (kT1 + 0.5)) + (kT1 + 4 - 2345 - (kT1 + 7.5))) / 2;
  EXPECT_NEAR(got->offsetMillis, expected, 0.001);
  EXPECT_NEAR(got->offsetMillis, -2345.5, 0.001);
  EXPECT_NEAR(got->delayMillis, 6.0, 0.001);
  EXPECT_EQ(clock.setCount(), 0);
}

TEST_F(QuerySntpTest, RefusedRepliesSayWhy) {
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> spoil;
    bool fromRemote;
    std::string error;
  };
  const Case cases[] = {
      {"short", [](auto& r) { r.pop_back(); }, true, "SNTP reply refused: it is 47 bytes, not 48"},
      {"long", [](auto& r) { r.resize(68); }, true, "SNTP reply refused: it is 68 bytes, not 48"},
      {"originate", [](auto& r) { r[31] ^= 1; }, true,
       "SNTP reply refused: it does not answer our request"},
      {"mode", [](auto& r) { r[0] = 0x1B; }, true,
       "SNTP reply refused: the sender is not in server mode"},
      {"kiss", [](auto& r) { r[1] = 0, r[12] = 'R', r[13] = 'A', r[14] = 'T', r[15] = 'E'; }, true,
       "SNTP reply refused: the server turned the request away (kiss code RATE)"},
      {"leap", [](auto& r) { r[0] = 0xDC; }, true,
       "SNTP reply refused: the server's clock is not synchronised"},
      {"version 0", [](auto& r) { r[0] = 0x04; }, true, "SNTP reply refused: it is of version 0"},
      // The form most servers send: leap indicator 3 and stratum 0.
      {"kiss, leap 3", [](auto& r) { r[0] = 0xDC, r[1] = 0, r[12] = 'D', r[13] = 'E'; }, true,
       "SNTP reply refused: the server turned the request away (kiss code DE)"},
      {"root delay 2000 s, dispersion 3000 s",
       [](auto& r) { r[4] = 0x07, r[5] = 0xD0, r[8] = 0x0B, r[9] = 0xB8; }, true,
       "SNTP reply refused: the server is 4000.000 s from its reference clock, more than 3 s"},
      {"root dispersion 3.5 s", [](auto& r) { r[9] = 3, r[10] = 0x80; }, true,
       "SNTP reply refused: the server is 3.500 s from its reference clock, more than 3 s"},
      {"stamps give a negative delay", [this](auto& r) { r = reply(kT1 + 1, kT1 + 1501); }, true,
       "SNTP reply refused: its round-trip delay of -1.500 s is negative (the server's stamps "
       "cannot be right)"},
      {"held 4 s by the network",
       [this](auto&) {
         clock.advance(4000);
         steady += 4000;
       },
       true, "SNTP reply refused: its round-trip delay of 3.999 s is more than 3 s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    got.reset();
    start(Protocol::Sntp);
    std::vector<uint8_t> r = reply(kT1 + 1, kT1 + 2);
    c.spoil(r);
    socket().deliver(r, c.fromRemote);
    expectFailure(c.error);
  }
}

TEST_F(QuerySntpTest, AStrayDatagramIsDroppedAndTheAnswerStillCounts) {
  start(Protocol::Sntp);
  const std::vector<uint8_t> answer = reply(kT1 + 1, kT1 + 2);
  steady += 2;
  socket().deliver(answer, /*fromRemote=*/false);
  EXPECT_FALSE(got);
  socket().deliver(answer);
  ASSERT_TRUE(got);
  EXPECT_TRUE(got->ok) << got->error;
}

TEST_F(QuerySntpTest, CountsAreReadInTheEraOfTheLocalClock) {
  // Two seconds before the NTP count wraps (2036) and before UnixTime's (2106); the server is
  // five seconds later, in the next era.
  constexpr int64_t kWrap = int64_t{1} << 32;
  for (const auto& [protocol, clockSeconds1900] :
       {std::pair{Protocol::Time, kWrap - 2}, std::pair{Protocol::Sntp, kWrap - 2},
        std::pair{Protocol::UnixTime, kWrap + kSeconds1900To1970 - 2}}) {
    SCOPED_TRACE(protocolName(protocol));
    got.reset();
    clock.advance((clockSeconds1900 - kSeconds1900To1970) * 1000 - clock.utcMillis());
    start(protocol);
    const int64_t server = clockSeconds1900 + 5;
    const int64_t epoch = protocol == Protocol::UnixTime ? kSeconds1900To1970 : 0;
    if (protocol == Protocol::Sntp)
      socket().deliver(reply(server * 1000.0, server * 1000.0));
    else
      socket().deliver(be32(static_cast<uint32_t>(server - epoch)));
    ASSERT_TRUE(got);
    ASSERT_TRUE(got->ok) << got->error;
    EXPECT_NEAR(got->offsetMillis, 5000, 1);
  }
}

TEST(QueryLineTest, SignedSecondsWithThreeDecimals) {
  struct Case {
    double millis;
    const char* text;
  };
  for (const Case& c : {Case{-2345, "-2.345"}, Case{3210, "+3.210"}, Case{0, "+0.000"},
                        Case{-0.4, "+0.000"}, Case{-0.6, "-0.001"}, Case{-2000, "-2.000"},
                        Case{12.5, "+0.013"}, Case{-86400123, "-86400.123"}})
    EXPECT_EQ(signedSeconds(c.millis), c.text) << c.millis;
  EXPECT_EQ(plainSeconds(-3), "-0.003");
  EXPECT_EQ(plainSeconds(1234.4), "1.234");
  EXPECT_EQ(queryLine("127.0.0.1", "sntp", {true, -2345.2, 0.3, {}, -1, {}}),
            "127.0.0.1 sntp offset -2.345 s delay 0.000 s");
  EXPECT_EQ(queryLine("127.0.0.1", "time", {true, 1000, -250, {}, -1, {}}),
            "127.0.0.1 time offset +1.000 s delay -0.250 s");
  EXPECT_EQ(queryLine("127.0.0.1", "sntp", {true, 1, 2, {}, 2, "10.0.0.1"}),
            "127.0.0.1 sntp offset +0.001 s delay 0.002 s stratum 2 ref 10.0.0.1");
}

}  // namespace
}  // namespace korvane::sync
