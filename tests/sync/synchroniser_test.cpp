// SPDX-License-Identifier: GPL-3.0-or-later
// A synchronisation on scripted sockets and a fake clock: the exchange, the clock change and the
// outcome, for every protocol and every way an exchange ends.
#include "sync/synchroniser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_socket.h"
#include "sync/ntp_time.h"
#include "sync/query_exchange.h"
#include "sync/sntp_packet.h"

namespace korvane::sync {
namespace {

// 2025-12-07 16:05:45.678 UTC, a Sunday.
constexpr int64_t kStartUtcMillis = 1765123545678LL;
constexpr int64_t kUtcSeconds1970 = kStartUtcMillis / 1000;
constexpr uint32_t kUtcSeconds1900 = static_cast<uint32_t>(kUtcSeconds1970 + kSeconds1900To1970);

std::vector<uint8_t> be32(uint32_t v) {
  return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

// The reply of a server whose clock is ahead by offsetMs to the request sent, reaching it after
// delayMs and coming back after as long again; the clock advances meanwhile.
std::vector<uint8_t> sntpReply(platform::FakeClock& clock, const std::vector<uint8_t>& request,
                               double offsetMs, int delayMs) {
  NtpTimestamp t1;
  NtpTimestamp::readAt(request, sntp::kTransmitOffset, t1);
  clock.advance(delayMs);
  const double ms = static_cast<double>(clock.utcMillis()) + offsetMs + kSeconds1900To1970 * 1e3;
  const double secs = std::floor(ms / 1000);
  const NtpTimestamp t23 = NtpTimestamp::fromParts(
      static_cast<uint32_t>(static_cast<uint64_t>(secs)),  // the low 32 bits, as on the wire
      static_cast<uint32_t>((ms - secs * 1000) / 1000 * 4294967296.0));
  std::vector<uint8_t> r(48, 0);
  r[0] = 0x24;  // version 4, server
  r[1] = 1;
  std::copy(t1.bytes.begin(), t1.bytes.end(), r.begin() + 24);
  std::copy(t23.bytes.begin(), t23.bytes.end(), r.begin() + 32);
  std::copy(t23.bytes.begin(), t23.bytes.end(), r.begin() + 40);
  clock.advance(delayMs);
  return r;
}

class SynchroniserTest : public ::testing::Test {
 protected:
  SynchroniserTest() {
    sync.onOutcome = [this](const SyncOutcome& o) { outcomes.push_back(o); };
    sync.onReplyData = [this] { ++replyPieces; };
    sync.onRequestSent = [this] { ++requestsSent; };
  }
  // Starts with the one server "peer.example" offering every protocol; runs the look-up.
  void start(Protocol p) {
    ASSERT_TRUE(sync.start({" peer.example ", "37:123:13:519"}, choiceFor(p)));
    runEvents();
  }
  static std::string_view choiceFor(Protocol p) {
    switch (p) {
      case Protocol::Time:
        return choice::kTime;
      case Protocol::Sntp:
        return choice::kSntp;
      case Protocol::DayTime:
        return choice::kDayTime;
      case Protocol::UnixTime:
        return choice::kUnixTime;
    }
    return {};
  }
  void runEvents() {
    while (events.pending() > 0) events.doEvents();
  }
  platform::FakeSocket& socket() { return *sockets.made.at(0); }
  const SyncOutcome& last() const { return outcomes.back(); }
  void expectOutcome(OutcomeKind kind, int64_t amount = 0) {
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(last().kind, kind) << last().text;
    EXPECT_EQ(last().amount, amount);
    EXPECT_FALSE(sync.busy());
  }
  int64_t clockSeconds1970() const { return clock.utcMillis() / 1000; }

  platform::FakeClock clock{kStartUtcMillis};
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom rng;
  platform::FakeSocketFactory sockets{&events};
  double steady = 1000;
  Synchroniser sync{{clock, events, locale, rng, sockets}, [this] { return steady; }};
  std::vector<SyncOutcome> outcomes;
  int replyPieces = 0;
  int requestsSent = 0;
};

TEST_F(SynchroniserTest, ProtocolChoiceAgainstTheServersPorts) {
  struct Case {
    std::string_view choice;
    const char* ports;
    double r;
    std::optional<Protocol> started;
  };
  const Case cases[] = {
      {choice::kTime, "0:123:13:519", 0, Protocol::Time},
      {choice::kSntp, "37:123:0:0", 0, Protocol::Sntp},
      {choice::kSntp, "37:0:13:0", 0, Protocol::Time},
      {choice::kDayTime, "37:123:0:519", 0, Protocol::Time},
      {choice::kDayTime, "37:123:13:519", 0, Protocol::DayTime},
      {choice::kUnixTime, "37:0:0:519", 0, Protocol::UnixTime},
      {choice::kUnixTime, "37:0:0:0", 0, Protocol::Time},
      {choice::kAutomatic, "37:0:0:0", 0.0, Protocol::Time},
      {choice::kAutomatic, "37:0:0:0", 0.3, Protocol::Time},  // j=1: "0", and p1 is "0"
      {choice::kAutomatic, "37:123:0:0", 0.3, Protocol::Sntp},
      {choice::kAutomatic, "37:123:13:0", 0.6, Protocol::DayTime},
      {choice::kAutomatic, "37:123:13:519", 0.99, Protocol::UnixTime},
      {choice::kAutomatic, "37:123:13:x", 0.99, std::nullopt},
      {"default sntp protocol", "37:123:13:519", 0, std::nullopt},
      {choice::kTime, "37:123", 0, std::nullopt},
  };
  for (const Case& c : cases) {
    rng.always(c.r);
    EXPECT_EQ(chooseProtocol(c.ports, c.choice, rng), c.started) << c.choice << " " << c.ports;
  }
  rng.always(0.99);
  EXPECT_FALSE(sync.start({"h", "37:123:13:x"}, choice::kAutomatic));
  EXPECT_FALSE(sync.busy());
  EXPECT_TRUE(sync.start({"h", "0:0:0:0"}, choice::kUnixTime, /*timeOnly=*/false));
  EXPECT_FALSE(sync.start({"h", "0:0:0:0"}, choice::kTime)) << "one synchronisation at a time";
}

TEST_F(SynchroniserTest, WholeSecondAnswersSetTheClockOnceInUtc) {
  struct Case {
    Protocol protocol;
    int port;
    std::vector<std::vector<uint8_t>> pieces;
    OutcomeKind kind;
    int64_t amount;
  };
  const auto time = be32(kUtcSeconds1900 - 5);
  const auto unix = be32(static_cast<uint32_t>(kUtcSeconds1970 + 7));
  auto text = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  const Case cases[] = {
      {Protocol::Time, 37, {time}, OutcomeKind::Adjusted, -5},
      {Protocol::Time, 37, {{time[0], time[1]}, {time[2], time[3]}}, OutcomeKind::Adjusted, -5},
      {Protocol::Time, 37, {be32(kUtcSeconds1900)}, OutcomeKind::Correct, 0},
      {Protocol::UnixTime, 519, {{unix[0]}, {unix[1], unix[2], unix[3]}}, OutcomeKind::Adjusted, 7},
      {Protocol::DayTime,
       13,
       {text("\n61016 25-12-07 16:05:40 00 0 0 123.4 UTC(NIST) * \n")},
       OutcomeKind::Adjusted,
       -5},
      {Protocol::DayTime, 13, {text("Sun Dec  7 11:05:50 EST 2025\r\n")}, OutcomeKind::Adjusted, 5},
      // A line in pieces is read whole: the first piece alone reads as a date a minute off.
      {Protocol::DayTime,
       13,
       {text("07 Dec 2025 16:05"), text(":52 UTC\r\n")},
       OutcomeKind::Adjusted,
       7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(protocolName(c.protocol)) + " in " + std::to_string(c.pieces.size()) +
                 " pieces");
    outcomes.clear();
    clock = platform::FakeClock{kStartUtcMillis};
    start(c.protocol);
    EXPECT_EQ(socket().remotePort(), c.port);
    EXPECT_EQ(socket().remoteHost(), "peer.example");
    for (const auto& piece : c.pieces) socket().deliver(piece);
    expectOutcome(c.kind, c.amount);
    EXPECT_EQ(replyPieces, static_cast<int>(c.pieces.size()));
    replyPieces = 0;
    EXPECT_EQ(clock.setCount(), c.kind == OutcomeKind::Adjusted ? 1 : 0);
    EXPECT_EQ(clockSeconds1970(), kUtcSeconds1970 + c.amount);
    if (c.amount != 0) {
      EXPECT_EQ(clock.utcMillis() % 1000, 0) << "set to the whole second";
    }
  }
}

TEST_F(SynchroniserTest, ZoneBiasIsHonoured) {
  // 0xEA2C5B00 is 3928775424 s after 1900: 2024-06-30 22:30:24 UTC; local is UTC-4 (daylight).
  clock.setZone({300, "Eastern Standard Time", 0, "Eastern Daylight Time", -60},
                platform::ZoneState::Daylight);
  sync.maxSilentChangeSeconds = 0;  // the server is a year behind
  start(Protocol::Time);
  socket().deliver({0xEA, 0x2C, 0x5B, 0x00});
  EXPECT_EQ(clockSeconds1970(), 3928775424LL - kSeconds1900To1970);
  EXPECT_EQ(clock.localTime().hour, 18);
}

// The 32-bit counts wrap: Time's and SNTP's in 2036, UnixTime's in 2106. A server on the other
// side of the wrap from the clock is read in the clock's era.
TEST_F(SynchroniserTest, CountsAreReadInTheEraOfTheLocalClock) {
  constexpr int64_t kNtpWrap = (int64_t{1} << 32) - kSeconds1900To1970;  // seconds since 1970
  constexpr int64_t kUnixWrap = int64_t{1} << 32;
  struct Case {
    Protocol protocol;
    int64_t clockSeconds;  // since 1970
    int delta;             // the server is ahead by this many seconds
  };
  const Case cases[] = {
      {Protocol::Time, kNtpWrap - 2, 5},
      {Protocol::Time, kNtpWrap + 2, -5},
      {Protocol::UnixTime, kUnixWrap - 2, 5},
      {Protocol::UnixTime, kUnixWrap + 2, -5},
  };
  for (const Case& c : cases) {
    outcomes.clear();
    clock = platform::FakeClock{c.clockSeconds * 1000};
    start(c.protocol);
    const int64_t epoch = c.protocol == Protocol::Time ? kSeconds1900To1970 : 0;
    socket().deliver(be32(static_cast<uint32_t>(c.clockSeconds + c.delta + epoch)));
    expectOutcome(OutcomeKind::Adjusted, c.delta);
    EXPECT_EQ(clock.utcMillis(), (c.clockSeconds + c.delta) * 1000);
  }
  outcomes.clear();
  clock = platform::FakeClock{kNtpWrap * 1000 - 500};
  start(Protocol::Sntp);
  socket().deliver(sntpReply(clock, socket().sent.back(), 1234, 20));
  expectOutcome(OutcomeKind::Adjusted, 1234);
}

TEST_F(SynchroniserTest, SntpShiftsByTheOffsetNotByTheDelay) {
  struct Case {
    double offsetMs;
    int oneWayMs;
  };
  for (const Case c : {Case{1234, 20}, Case{0, 150}, Case{-1234.4, 5}}) {
    outcomes.clear();
    clock = platform::FakeClock{kStartUtcMillis};
    start(Protocol::Sntp);
    EXPECT_EQ(socket().sent.back().size(), 48u);
    EXPECT_EQ(socket().sent.back()[0], 0x1B);
    EXPECT_EQ(socket().protocol(), platform::SocketProtocol::Udp);
    const int64_t trueUtc = clock.utcMillis() + 2 * c.oneWayMs + std::llround(c.offsetMs);
    socket().deliver(sntpReply(clock, socket().sent.back(), c.offsetMs, c.oneWayMs));
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(last().kind, OutcomeKind::Adjusted);
    // The clock is read to the whole millisecond: the offset is good to one.
    EXPECT_NEAR(static_cast<double>(last().amount), c.offsetMs, 1);
    EXPECT_TRUE(clock.lastSetWasShift()) << "a time service's delay must not move the clock";
    EXPECT_NEAR(static_cast<double>(clock.utcMillis()), static_cast<double>(trueUtc), 2);
  }
}

TEST_F(SynchroniserTest, TheRequestIsStampedOnceTheHostIsResolved) {
  ASSERT_TRUE(sync.start({"peer.example", "37:123:13:519"}, choice::kSntp));
  EXPECT_EQ(socket().resolves, 1);
  EXPECT_TRUE(socket().sent.empty()) << "sent before the host was known";
  clock.advance(300);  // the look-up takes its time
  runEvents();
  ASSERT_EQ(socket().sent.size(), 1u);
  EXPECT_EQ(requestsSent, 1);
  const NtpTimestamp now = ntpTimestampOf(clock.localTime(), 0);
  EXPECT_TRUE(std::equal(now.bytes.begin(), now.bytes.end(),
                         socket().sent.back().begin() + sntp::kTransmitOffset));
}

// A host with an address of each family where the first does not answer: the request goes to
// the next after a few seconds, and its answer counts. A bracketed literal is an address.
TEST_F(SynchroniserTest, SntpAsksTheNextAddressWhenTheFirstIsSilent) {
  socket().addressesLeft = 1;
  ASSERT_TRUE(sync.start({"[::1]", "37:123:13:519"}, choice::kSntp));
  runEvents();
  EXPECT_EQ(socket().remoteHost(), "::1");
  for (int i = 0; i < Synchroniser::kNextAddressTicks; ++i) sync.tick();
  ASSERT_EQ(socket().sent.size(), 2u) << "the request went again";
  EXPECT_EQ(socket().addressSwitches, 1);
  for (int i = 0; i < Synchroniser::kNextAddressTicks; ++i) sync.tick();
  EXPECT_EQ(socket().sent.size(), 2u) << "no third address";
  socket().deliver(sntpReply(clock, socket().sent.back(), 700, 5));
  expectOutcome(OutcomeKind::Adjusted, 700);
}

TEST_F(SynchroniserTest, StrayLateAndDuplicateDatagramsMoveNothing) {
  start(Protocol::Sntp);
  const std::vector<uint8_t> answer = sntpReply(clock, socket().sent.back(), 1000, 10);
  socket().deliver(answer, /*fromRemote=*/false);
  socket().deliver({1, 2, 3}, /*fromRemote=*/false);
  EXPECT_TRUE(outcomes.empty());
  EXPECT_TRUE(sync.busy());
  socket().deliver(answer);
  socket().deliver(answer);
  expectOutcome(OutcomeKind::Adjusted, 1000);
  EXPECT_EQ(clock.setCount(), 1);
  // A reply after the time-out finds nothing waiting for it.
  outcomes.clear();
  start(Protocol::Sntp);
  const std::vector<uint8_t> late = sntpReply(clock, socket().sent.back(), 5000, 10);
  for (int i = 0; i < Synchroniser::kTimeOutTicks; ++i) sync.tick();
  expectOutcome(OutcomeKind::TimedOut);
  socket().deliver(late);
  EXPECT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(clock.setCount(), 1);
}

TEST_F(SynchroniserTest, UnusableRepliesEndAtOnceAndSetNothing) {
  struct Case {
    Protocol protocol;
    std::function<void()> reply;
    const char* why;
  };
  const Case cases[] = {
      {Protocol::Sntp, [this] { socket().deliver(std::vector<uint8_t>(47, 0x24)); },
       "SNTP reply refused: it is 47 bytes, not 48"},
      {Protocol::Sntp, [this] { socket().deliver(std::vector<uint8_t>(68, 0x24)); },
       "SNTP reply refused: it is 68 bytes, not 48"},
      {Protocol::Sntp,
       [this] {
         auto r = sntpReply(clock, socket().sent.back(), 1000, 10);
         r[1] = 0;
         socket().deliver(r);
       },
       "SNTP reply refused: the server turned the request away (kiss code none)"},
      {Protocol::Sntp,
       [this] {
         auto r = sntpReply(clock, socket().sent.back(), 1000, 10);
         std::fill(r.begin() + 32, r.begin() + 40, 0);  // no receive stamp
         socket().deliver(r);
       },
       "SNTP reply refused: the server sent no time"},
      {Protocol::Sntp,
       [this] { socket().deliver(sntpReply(clock, socket().sent.back(), 30.0 * 86400e3, 10)); },
       "SNTP reply refused: its time is more than 24 days from this computer's clock"},
      {Protocol::Time, [this] { socket().deliver(be32(0)); },
       "Time reply refused: the server sent a count of 0"},
      {Protocol::UnixTime, [this] { socket().deliver(be32(0)); },
       "UnixTime reply refused: the server sent a count of 0"},
      {Protocol::Time, [this] { socket().peerClose(); },
       "Time reply refused: the server closed the connection before sending 4 bytes"},
      {Protocol::UnixTime,
       [this] {
         socket().deliver({1, 2});
         socket().peerClose();
       },
       "UnixTime reply refused: the server closed the connection before sending 4 bytes"},
      {Protocol::DayTime,
       [this] {
         socket().deliverText(" server is");
         socket().deliverText(" resting\r\n");
       },
       "DayTime reply refused: not a date and time: \"server is resting\""},
      {Protocol::Time, [this] { socket().raiseError(10061, "Connection refused"); },
       "Connection refused"},
  };
  sync.maxSilentChangeSeconds = 0;  // the 24-day limit of a shift is found without a bound
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    outcomes.clear();
    start(c.protocol);
    c.reply();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(last().text, c.why);
    EXPECT_NE(last().kind, OutcomeKind::Adjusted);
    EXPECT_FALSE(sync.busy()) << "the button and the busy state must agree";
    EXPECT_EQ(socket().state(), platform::SocketState::Closed);
  }
  EXPECT_EQ(last().kind, OutcomeKind::SocketError);
  EXPECT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(clock.setCount(), 0);
}

TEST_F(SynchroniserTest, KissCodesStopOrSlowTheAskingOfThatServer) {
  struct Case {
    const char* code;
    int64_t intervalSeconds;
    double waitMillis;  // 0: not asked again while the program runs
    const char* consequence;
  };
  const Case cases[] = {
      {"DENY", 60, 0, "; it is not asked again while the program runs"},
      {"RSTR", 60, 0, "; it is not asked again while the program runs"},
      {"RATE", 60, 30 * 60e3, "; it is asked again in 30 minute(s) at the soonest"},
      {"RATE", 3600, 2 * 3600e3, "; it is asked again in 120 minute(s) at the soonest"},
      {"INIT", 60, -1, ""},  // another code: asked again as usual
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const std::string host = std::string("kiss-") + c.code + std::to_string(c.intervalSeconds);
    const ServerChoice server{host, "37:123:13:519"};
    outcomes.clear();
    sync.intervalSeconds = c.intervalSeconds;
    ASSERT_TRUE(sync.start(server, choice::kSntp));
    runEvents();
    auto r = sntpReply(clock, sockets.made.at(0)->sent.back(), 1000, 10);
    r[0] = 0xE4, r[1] = 0;  // the form most servers send: leap indicator 3, stratum 0
    std::copy(c.code, c.code + 4, r.begin() + sntp::kReferenceIdOffset);
    socket().deliver(r);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(last().kissCode, c.code);
    EXPECT_EQ(last().text, "SNTP reply refused: the server turned the request away (kiss code " +
                               std::string(c.code) + ")" + c.consequence);
    steady += std::max(c.waitMillis, 1.0) - 1;
    EXPECT_EQ(sync.start(server, choice::kSntp), c.waitMillis < 0) << "asked too soon";
    if (c.waitMillis >= 0) {
      ASSERT_EQ(outcomes.size(), 2u);
      EXPECT_EQ(last().kind, OutcomeKind::NotAsked);
      EXPECT_EQ(last().text.rfind("Not asked: " + host, 0), 0u) << last().text;
      EXPECT_TRUE(sync.start({"another.example", "37:123:13:519"}, choice::kSntp));
      sync.stop();
    }
    steady += 1;
    EXPECT_EQ(sync.mayAsk(" " + host + " "), c.waitMillis != 0);
    sync.stop();
  }
  EXPECT_EQ(clock.setCount(), 0);
}

// Ten years back on one server's word is no synchronisation: a second, different server of the
// region must agree within 2 s.
TEST_F(SynchroniserTest, AChangeBeyondTheBoundNeedsASecondServer) {
  constexpr int64_t kTenYears = 315569520;
  struct Case {
    const char* what;
    int64_t bound;
    std::vector<ServerChoice> confirmers;
    std::vector<int64_t> secondAnswers;  // seconds ahead; one per confirmer asked
    OutcomeKind kind;
    std::string disagreeing;
  };
  const std::string ports = "37:0:0:0";
  const Case cases[] = {
      {"alone", 1000, {}, {}, OutcomeKind::Unconfirmed, ""},
      {"the same host again", 1000, {{" first ", ports}}, {}, OutcomeKind::Unconfirmed, ""},
      {"confirmed", 1000, {{"second", ports}}, {-kTenYears + 1}, OutcomeKind::Adjusted, ""},
      {"disagreeing", 1000, {{"second", ports}}, {0}, OutcomeKind::Unconfirmed, "second"},
      {"the first confirmer silent, the next agreeing",
       1000,
       {{"second", ports}, {"third", ports}},
       {-1, -kTenYears},
       OutcomeKind::Adjusted,
       ""},
      {"no bound", 0, {}, {}, OutcomeKind::Adjusted, ""},
      {"within the bound", kTenYears, {}, {}, OutcomeKind::Adjusted, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    outcomes.clear();
    clock = platform::FakeClock{kStartUtcMillis};
    sync.maxSilentChangeSeconds = c.bound;
    ASSERT_TRUE(sync.start({"first", ports}, choice::kTime, false, c.confirmers));
    socket().deliver(be32(static_cast<uint32_t>(kUtcSeconds1900 - kTenYears)));
    int64_t setTo = -kTenYears;
    for (const int64_t ahead : c.secondAnswers) {
      ASSERT_TRUE(outcomes.empty());
      ASSERT_TRUE(sync.busy());
      EXPECT_NE(socket().remoteHost(), "first");
      if (ahead == -1) {
        socket().raiseError(10061, "Connection refused");
        continue;
      }
      socket().deliver(be32(static_cast<uint32_t>(kUtcSeconds1900 + ahead)));
      setTo = ahead;
    }
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(last().kind, c.kind);
    EXPECT_EQ(last().host, c.kind == OutcomeKind::Adjusted ? socket().remoteHost() : "first");
    EXPECT_EQ(last().disagreeing, c.disagreeing);
    EXPECT_EQ(clock.setCount(), c.kind == OutcomeKind::Adjusted ? 1 : 0);
    EXPECT_EQ(clockSeconds1970(), kUtcSeconds1970 + (c.kind == OutcomeKind::Adjusted ? setTo : 0));
    if (c.kind == OutcomeKind::Unconfirmed) {
      EXPECT_EQ(last().offsetMillis, -kTenYears * 1000.0);
    }
  }
}

TEST_F(SynchroniserTest, TheUserDecidesAnUnconfirmedChangeOnlyWhenTheUserStartedIt) {
  struct Case {
    bool userStarted;
    bool yes;
    OutcomeKind kind;
    int questions;
  };
  for (const Case c : {Case{false, true, OutcomeKind::Unconfirmed, 0},
                       Case{true, false, OutcomeKind::Unconfirmed, 1},
                       Case{true, true, OutcomeKind::Adjusted, 1}}) {
    SCOPED_TRACE(std::to_string(c.userStarted) + std::to_string(c.yes));
    outcomes.clear();
    clock = platform::FakeClock{kStartUtcMillis};
    int questions = 0;
    sync.askUser = [&](const SyncOutcome& o) {
      ++questions;
      EXPECT_EQ(o.offsetMillis, -5000e3);
      clock.advance(60000);  // the question stays open a minute
      return c.yes;
    };
    ASSERT_TRUE(sync.start({"peer", "37:0:0:0"}, choice::kTime, false, {}, c.userStarted));
    socket().deliver(be32(kUtcSeconds1900 - 5000));
    expectOutcome(c.kind, c.kind == OutcomeKind::Adjusted ? -5000 : 0);
    EXPECT_EQ(questions, c.questions);
    EXPECT_EQ(last().declined, c.userStarted && !c.yes);
    EXPECT_EQ(clockSeconds1970(),
              kUtcSeconds1970 + c.questions * 60 - (c.yes ? 5000 : 0) * c.questions);
  }
}

TEST_F(SynchroniserTest, ImmediateFailuresStillArriveThroughTheLoop) {
  for (const Protocol p : {Protocol::Time, Protocol::Sntp}) {
    outcomes.clear();
    socket().failNext("Network is unreachable");
    ASSERT_TRUE(sync.start({"peer.example", "37:123:13:519"}, choiceFor(p)));
    EXPECT_TRUE(outcomes.empty()) << "raised inside the call that caused it";
    runEvents();
    expectOutcome(OutcomeKind::SocketError);
    EXPECT_EQ(last().text, "Network is unreachable");
  }
}

TEST_F(SynchroniserTest, RefusedClockChangeIsReportedNotClaimed) {
  clock.refuseChanges("Operation not permitted");
  for (const Protocol p : {Protocol::Time, Protocol::Sntp}) {
    outcomes.clear();
    start(p);
    if (p == Protocol::Sntp)
      socket().deliver(sntpReply(clock, socket().sent.back(), 60000, 10));
    else
      socket().deliver(be32(kUtcSeconds1900 + 60));
    expectOutcome(OutcomeKind::ClockRefused);
    EXPECT_EQ(last().text, "Operation not permitted");
  }
}

// The time service may take a while (a password): the synchronisation stays busy, does not time
// out and refuses a second start until the clock answers, then reports that answer; a stop
// drops it.
TEST_F(SynchroniserTest, AClockChangeStillToBeAnsweredKeepsItBusyUntilTheAnswer) {
  struct Case {
    Protocol protocol;
    const char* refusal;  // empty: the change is made
    bool stopped;
    OutcomeKind kind;
  };
  const Case cases[] = {
      {Protocol::Time, "", false, OutcomeKind::Adjusted},
      {Protocol::Sntp, "", false, OutcomeKind::Adjusted},
      {Protocol::Sntp, "not authorised to set the time", false, OutcomeKind::ClockRefused},
      {Protocol::Time, "", true, OutcomeKind::Adjusted},
  };
  clock.holdAnswers(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    outcomes.clear();
    clock.refuseChanges(c.refusal);
    start(c.protocol);
    platform::FakeSocket& s = *sockets.made.back();
    if (c.protocol == Protocol::Sntp)
      s.deliver(sntpReply(clock, s.sent.back(), 60000, 10));
    else
      s.deliver(be32(kUtcSeconds1900 + 60));
    ASSERT_TRUE(clock.answerPending());
    for (int i = 0; i < 2 * Synchroniser::kTimeOutTicks; ++i) sync.tick();
    EXPECT_TRUE(outcomes.empty());
    EXPECT_TRUE(sync.busy());
    EXPECT_FALSE(sync.start({"peer.example", "37:123:13:519"}, choice::kTime));
    if (c.stopped) sync.stop();
    clock.answerHeld();
    if (c.stopped) {
      EXPECT_TRUE(outcomes.empty());
      EXPECT_FALSE(sync.busy());
      continue;
    }
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(last().kind, c.kind) << last().text;
    EXPECT_EQ(last().text, c.kind == OutcomeKind::ClockRefused ? c.refusal : "");
    const double amount = c.kind != OutcomeKind::Adjusted ? 0
                          : c.protocol == Protocol::Sntp  ? 60000
                                                          : 60;
    EXPECT_NEAR(static_cast<double>(last().amount), amount, 1);
    EXPECT_FALSE(sync.busy());
  }
}

TEST_F(SynchroniserTest, TimesOutOnTheTwentyFifthTickAndAStopEndsSilently) {
  start(Protocol::Sntp);
  for (int i = 1; i < Synchroniser::kTimeOutTicks; ++i) sync.tick();
  EXPECT_TRUE(outcomes.empty());
  EXPECT_TRUE(sync.busy());
  sync.tick();
  expectOutcome(OutcomeKind::TimedOut);
  EXPECT_EQ(sync.SyncTicks, 0);
  outcomes.clear();
  start(Protocol::Time);
  sync.stop();
  socket().deliver(be32(kUtcSeconds1900 + 60));
  EXPECT_TRUE(outcomes.empty());
  EXPECT_FALSE(sync.busy());
}

// The program and the query tool run the same exchange: the same replies in the same pieces give
// the same offset to both.
TEST_F(SynchroniserTest, ProgramAndQueryToolAgreeOnEveryReply) {
  struct Case {
    Protocol protocol;
    std::vector<std::string> pieces;  // empty: an SNTP reply 1500 ms ahead
    double offsetMillis;
  };
  const auto time = be32(kUtcSeconds1900 + 3);
  const Case cases[] = {
      {Protocol::Time,
       {std::string(time.begin(), time.begin() + 3), std::string(1, time[3])},
       3000},
      {Protocol::DayTime, {"07 Dec 2025 16:05", ":40 UTC\r\n"}, -5000},
      {Protocol::DayTime, {"\n61016 25-12-07 16:05:49 00 0 0 1.0 UTC(NIST) * \n"}, 4000},
      {Protocol::Sntp, {}, 1500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(protocolName(c.protocol));
    double offsets[2] = {0, 0};
    for (int consumer = 0; consumer < 2; ++consumer) {
      clock = platform::FakeClock{kStartUtcMillis};
      platform::FakeSocketFactory own{&events};
      QueryExchange query{clock, locale, own, [this] { return steady; }};
      outcomes.clear();
      std::optional<QueryOutcome> queried;
      if (consumer == 0)
        start(c.protocol);
      else
        query.start(c.protocol, "peer.example", [&](const QueryOutcome& o) { queried = o; });
      runEvents();
      platform::FakeSocket& s = consumer == 0 ? socket() : *own.made.at(0);
      if (c.pieces.empty()) s.deliver(sntpReply(clock, s.sent.back(), 1500, 10));
      for (const std::string& piece : c.pieces) s.deliverText(piece);
      if (consumer == 1) {
        ASSERT_TRUE(queried && queried->ok);
        offsets[1] = queried->offsetMillis;
        continue;
      }
      ASSERT_EQ(outcomes.size(), 1u);
      offsets[0] = static_cast<double>(last().amount) * (c.protocol == Protocol::Sntp ? 1 : 1000);
    }
    EXPECT_EQ(offsets[0], c.offsetMillis);
    EXPECT_NEAR(offsets[1], c.offsetMillis, c.protocol == Protocol::Sntp ? 1 : 0);
  }
}

}  // namespace
}  // namespace korvane::sync
