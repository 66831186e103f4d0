// SPDX-License-Identifier: GPL-3.0-or-later
// The NTS key establishment records, the NTP extension fields and the protected SNTP packet.
#include <gtest/gtest.h>

#include "common/ole_date.h"
#include "platform/fake/fake_background.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_socket.h"
#include "platform/gnutls/nettle_siv.h"
#include "sync/nts_extension_fields.h"
#include "sync/nts_packet.h"
#include "sync/nts_records.h"
#include "sync/nts_session.h"
#include "sync/synchroniser.h"

namespace korvane::sync {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes record(uint16_t type, const Bytes& body, bool critical = true) {
  Bytes out = {static_cast<uint8_t>((type | (critical ? 0x8000 : 0)) >> 8),
               static_cast<uint8_t>(type), static_cast<uint8_t>(body.size() >> 8),
               static_cast<uint8_t>(body.size())};
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Bytes kProto = record(ntske::kNextProtocol, {0, 0});
const Bytes kAead = record(ntske::kAeadAlgorithm, {0, 15});
const Bytes kCookie = record(ntske::kNewCookie, Bytes(100, 0xc0), false);
const Bytes kEnd = record(ntske::kEndOfMessage, {});

TEST(NtsKeRecords, TheRequestAsksForNtpV4OverSivCmac256) {
  EXPECT_EQ(buildNtsKeRequest(), (Bytes{0x80, 1, 0, 2, 0, 0, 0x80, 4, 0, 2, 0, 15, 0x80, 0, 0, 0}));
  EXPECT_EQ(ntsExporterContext(true), (Bytes{0, 0, 0, 15, 1}));
}

TEST(NtsKeRecords, ResponsesAreReadCompleteWaitingOrRefused) {
  using S = NtsKeParse::State;
  Bytes nine;
  for (int i = 0; i < 9; ++i) nine = nine + kCookie;
  const struct {
    const char* name;
    Bytes bytes;
    S state;
    const char* why;
    size_t cookies;
  } rows[] = {
      {"minimal", kProto + kAead + kCookie + kEnd, S::Complete, "", 1},
      {"unknown non-critical", kProto + record(99, {1}, false) + kAead + kCookie + kEnd,
       S::Complete, "", 1},
      {"nine cookies keep eight", kProto + kAead + nine + kEnd, S::Complete, "", 8},
      {"no end yet", kProto + kAead + kCookie, S::Incomplete, "", 0},
      {"record cut short", kProto + kAead + Bytes(kCookie.begin(), kCookie.begin() + 9),
       S::Incomplete, "", 0},
      {"header cut short", kProto + Bytes{0x80}, S::Incomplete, "", 0},
      {"repeated protocol", kProto + kProto + kAead + kCookie + kEnd, S::Failed,
       "second Next Protocol", 0},
      {"repeated algorithm", kProto + kAead + kAead + kCookie + kEnd, S::Failed, "second AEAD", 0},
      {"repeated port",
       kProto + kAead + record(ntske::kPort, {0, 123}) + record(ntske::kPort, {0, 124}) + kCookie +
           kEnd,
       S::Failed, "second Port", 0},
      {"other algorithm", kProto + record(ntske::kAeadAlgorithm, {0, 1}) + kCookie + kEnd,
       S::Failed, "AES-SIV-CMAC-256", 0},
      {"other protocol", record(ntske::kNextProtocol, {0, 1}) + kAead + kCookie + kEnd, S::Failed,
       "NTPv4", 0},
      {"error", record(ntske::kError, {0, 1}) + kEnd, S::Failed, "malformed", 0},
      {"warning", kProto + record(ntske::kWarning, {0, 7}) + kEnd, S::Failed, "warned", 0},
      {"unknown critical", kProto + record(99, {}) + kAead + kCookie + kEnd, S::Failed,
       "unknown type 99", 0},
      {"oversized cookie", kProto + kAead + record(ntske::kNewCookie, Bytes(1025, 1)) + kEnd,
       S::Failed, "1025 bytes", 0},
      {"empty cookie", kProto + kAead + record(ntske::kNewCookie, {}) + kEnd, S::Failed, "0 bytes",
       0},
      {"no cookie", kProto + kAead + kEnd, S::Failed, "no cookie", 0},
      {"no algorithm", kProto + kCookie + kEnd, S::Failed, "no AEAD", 0},
      {"end with a body", kProto + kAead + kCookie + record(0, {0}), S::Failed, "with a body", 0},
      {"data after end", kProto + kAead + kCookie + kEnd + kProto, S::Failed, "after End", 0},
      {"server name with a space", kProto + kAead + record(ntske::kServer, {'a', ' '}) + kEnd,
       S::Failed, "server name", 0},
      {"oversized response", kProto + kAead + record(200, Bytes(65535, 0), false) + kCookie,
       S::Failed, "more than 65536", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const NtsKeParse parsed = parseNtsKeResponse(row.bytes);
    EXPECT_EQ(parsed.state, row.state);
    EXPECT_NE(parsed.why.find(row.why), std::string::npos) << parsed.why;
    EXPECT_EQ(parsed.response.cookies.size(), row.cookies);
  }
  const auto full =
      parseNtsKeResponse(kProto + kAead + record(ntske::kServer, {'n', 't', 'p', '.', 'a'}) +
                         record(ntske::kPort, {0x12, 0x34}) + kCookie + kEnd);
  EXPECT_EQ(full.response.server, "ntp.a");
  EXPECT_EQ(full.response.port, 0x1234);
}

TEST(NtpExtensionFields, FieldsAreReadOnlyWhenEachFitsAndIsPadded) {
  const struct {
    const char* name;
    Bytes bytes;
    int fields;  // -1: refused
  } rows[] = {
      {"none", {}, 0},
      {"two", Bytes{1, 4, 0, 16} + Bytes(12, 0) + Bytes{4, 4, 0, 20} + Bytes(16, 0), 2},
      {"below the least size", Bytes{1, 4, 0, 12} + Bytes(8, 0), -1},
      {"not a multiple of 4", Bytes{1, 4, 0, 18} + Bytes(14, 0), -1},
      {"longer than the packet", Bytes{1, 4, 0, 20} + Bytes(12, 0), -1},
      {"header cut short", Bytes{1, 4, 0, 16} + Bytes(12, 0) + Bytes{2, 4}, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string why;
    const auto fields = readExtensionFields(row.bytes, 0, why);
    EXPECT_EQ(fields ? static_cast<int>(fields->size()) : -1, row.fields) << why;
  }
  Bytes out;
  appendExtensionField(out, ntpef::kCookie, Bytes(5, 9));
  EXPECT_EQ(out, (Bytes{2, 4, 0, 16, 9, 9, 9, 9, 9, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(readAuthenticator(Bytes{0, 16, 0, 16} + Bytes(28, 0)));
  EXPECT_FALSE(readAuthenticator(Bytes{0, 0, 0, 0}));
}

// A server of the test: its keys, and a reply to a request built as chrony lays one out.
struct NtsFixture : ::testing::Test {
  platform::NettleSiv siv;
  platform::SivAead::Key c2s{1}, s2c{2};
  Bytes id = Bytes(32, 0x1d);
  Bytes nonce = Bytes(16, 0x4e);

  Bytes reply(const Bytes& uniqueId, const platform::SivAead::Key& key, int cookies = 2,
              uint8_t stratum = 1, const char* refId = "GPS\0") {
    Bytes out(48, 0);
    out[0] = 0x24;
    out[1] = stratum;
    std::copy(refId, refId + 4, out.begin() + 12);
    out[40] = 0xe0;
    appendExtensionField(out, ntpef::kUniqueIdentifier, uniqueId);
    Bytes plain;
    for (int i = 0; i < cookies; ++i)
      appendExtensionField(plain, ntpef::kCookie, Bytes(100, 0xa0 + i));
    const std::span<const uint8_t> strings[] = {out, nonce};
    appendExtensionField(out, ntpef::kAuthenticator,
                         authenticatorBody(nonce, siv.seal(key, strings, plain)));
    return out;
  }
};

TEST_F(NtsFixture, ARequestCarriesItsFieldsAndVerifiesWithTheClientKey) {
  const Bytes cookie(100, 0xc0);
  const Bytes request = buildNtsRequest(SntpPacket{}, {id, cookie, 3, nonce}, c2s, siv);
  std::string why;
  const auto fields = readExtensionFields(request, 48, why);
  ASSERT_TRUE(fields) << why;
  ASSERT_EQ(fields->size(), 6u);  // identifier, cookie, three placeholders, authenticator
  EXPECT_EQ(request[0], 0x23);
  EXPECT_EQ(Bytes(fields->at(1).body.begin(), fields->at(1).body.end()), cookie);
  EXPECT_EQ(fields->at(4).type, ntpef::kCookiePlaceholder);
  EXPECT_EQ(fields->at(4).body.size(), cookie.size());
  const auto auth = readAuthenticator(fields->back().body);
  ASSERT_TRUE(auth);
  const std::span<const uint8_t> strings[] = {std::span(request).first(fields->back().offset),
                                              auth->nonce};
  EXPECT_EQ(siv.open(c2s, strings, auth->ciphertext), Bytes{});
}

TEST_F(NtsFixture, OnlyAnAuthenticReplyToOurIdentifierIsVerified) {
  using K = NtsReplyCheck::Kind;
  Bytes flipped = reply(id, s2c);
  flipped[40] ^= 0x01;
  Bytes bare = reply(id, s2c);
  bare.resize(48 + 36);
  const struct {
    const char* name;
    Bytes bytes;
    K kind;
    const char* why;
  } rows[] = {
      {"authentic", reply(id, s2c), K::Verified, ""},
      {"one bit of the time flipped", flipped, K::Refused, "does not verify"},
      {"sealed with another key", reply(id, c2s), K::Refused, "does not verify"},
      {"another identifier", reply(Bytes(32, 7), s2c), K::Refused, "does not answer"},
      {"no authenticator", bare, K::Refused, "not authenticated"},
      {"plain SNTP", Bytes(48, 0x24), K::Refused, "not authenticated"},
      {"short", Bytes(47, 0), K::Refused, "47 bytes"},
      {"NTSN for us", reply(id, s2c, 0, 0, "NTSN"), K::Nak, "NTSN"},
      {"NTSN for another", reply(Bytes(32, 7), s2c, 0, 0, "NTSN"), K::Refused, "NTSN"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const NtsReplyCheck check = checkNtsReply(row.bytes, id, s2c, siv);
    EXPECT_EQ(check.kind, row.kind);
    EXPECT_NE(check.why.find(row.why), std::string::npos) << check.why;
    EXPECT_EQ(check.cookies.size(), row.kind == K::Verified ? 2u : 0u);
  }
}

struct FixedRandom : platform::SecureRandom {
  uint8_t next = 0x1d;
  void fill(std::span<uint8_t> out) override { std::fill(out.begin(), out.end(), next); }
};

TEST_F(NtsFixture, TheGuardSpendsACookieAsksForTheRestAndKeepsTheNewOnes) {
  NtsKeys keys{c2s, s2c, "h", 123, {Bytes(100, 1), Bytes(100, 2)}};
  FixedRandom random;
  NtsGuard guard(keys, siv, random);
  std::string why;
  const Bytes request = guard.request(SntpPacket{});
  EXPECT_EQ(readExtensionFields(request, 48, why)->size(), 3u + 6u);  // 7 - 1 left = 6 more
  EXPECT_EQ(keys.cookies.size(), 1u);
  nonce = Bytes(16, 0x1d);
  EXPECT_FALSE(guard.replyProblem(reply(Bytes(32, 0x1d), s2c, 3)));
  EXPECT_EQ(keys.cookies.size(), 4u);
  EXPECT_TRUE(guard.replyProblem(reply(Bytes(32, 0x1d), s2c, 0, 0, "NTSN")));
  EXPECT_TRUE(guard.nak());
  EXPECT_TRUE(keys.cookies.empty());
  EXPECT_TRUE(guard.request(SntpPacket{}).empty());  // never a request without a cookie
}

// A channel that answers with scripted pieces and exports keys from the context's last byte.
struct ScriptedChannel : platform::TlsChannel {
  std::vector<Bytes> pieces;
  Bytes sent;
  bool send(std::span<const uint8_t> data, std::string&) override {
    sent.insert(sent.end(), data.begin(), data.end());
    return true;
  }
  std::optional<Bytes> receive(size_t, std::string&) override {
    if (pieces.empty()) return Bytes{};
    Bytes piece = pieces.front();
    pieces.erase(pieces.begin());
    return piece;
  }
  std::optional<Bytes> exportKey(const std::string& label, std::span<const uint8_t> context,
                                 size_t size) override {
    if (label != "EXPORTER-network-time-security" || context.size() != 5) return std::nullopt;
    return Bytes(size, static_cast<uint8_t>(0x50 + context[4]));
  }
};

TEST(NtsKeyEstablishment, KeysCookiesAndServerComeFromAResponseInPieces) {
  const Bytes response =
      kProto + kAead + record(ntske::kPort, {0x10, 0x00}) + kCookie + kCookie + kEnd;
  ScriptedChannel channel;
  channel.pieces = {Bytes(response.begin(), response.begin() + 7),
                    Bytes(response.begin() + 7, response.end())};
  const NtsEstablished e = establishNtsKeys(channel, "ke.example");
  ASSERT_TRUE(e.ok) << e.why;
  EXPECT_EQ(channel.sent, buildNtsKeRequest());
  EXPECT_EQ(e.keys.c2s[0], 0x50);
  EXPECT_EQ(e.keys.s2c[31], 0x51);
  EXPECT_EQ(e.keys.ntpHost, "ke.example");
  EXPECT_EQ(e.keys.ntpPort, 0x1000);
  EXPECT_EQ(e.keys.cookies.size(), 2u);

  ScriptedChannel closing;
  closing.pieces = {Bytes(response.begin(), response.begin() + 20)};
  const NtsEstablished cut = establishNtsKeys(closing, "ke.example");
  EXPECT_FALSE(cut.ok);
  EXPECT_NE(cut.why.find("closed before"), std::string::npos) << cut.why;
}

// A key establishment server: the response it gives, or a refusal, and how often it was asked.
struct ScriptedConnector : platform::TlsConnector {
  Bytes response = kProto + kAead + kCookie + kCookie + kEnd;
  std::string refusal;
  int connects = 0;
  std::unique_ptr<platform::TlsChannel> connect(const platform::TlsTarget&,
                                                std::string& why) override {
    ++connects;
    why = refusal;
    if (!refusal.empty()) return nullptr;
    auto channel = std::make_unique<ScriptedChannel>();
    channel->pieces = {response};
    return channel;
  }
};

// The program's synchroniser with a server whose list line names 4460, on fakes; the server's
// keys are those ScriptedChannel exports.
struct NtsSyncFixture : NtsFixture {
  NtsSyncFixture() {
    sync.setNts(&keyring);
    sync.onOutcome = [this](const SyncOutcome& o) { outcomes.push_back(o); };
    s2c.fill(0x51);
  }
  void runEvents() {
    while (events.pending() > 0) events.doEvents();
  }
  // The server's answer to the last request, its clock 1.5 s ahead.
  Bytes answer(const char* refId = "GPS\0") {
    const Bytes& request = sockets.made.at(0)->sent.back();
    std::string why;
    const auto fields = readExtensionFields(request, 48, why);
    const Bytes sentId(fields->at(0).body.begin(), fields->at(0).body.end());
    Bytes out = reply(sentId, s2c, 2, refId[0] == 'N' ? 0 : 1, refId);
    std::copy(request.begin() + 40, request.begin() + 48, out.begin() + 24);
    const int64_t ms = clock.utcMillis() + 1500 + kSeconds1900To1970 * 1000;
    const NtpTimestamp t = NtpTimestamp::fromParts(static_cast<uint32_t>(ms / 1000),
                                                   static_cast<uint32_t>((ms % 1000) * 4294967ULL));
    std::copy(t.bytes.begin(), t.bytes.end(), out.begin() + 32);
    std::copy(t.bytes.begin(), t.bytes.end(), out.begin() + 40);
    // The authenticator covers the header: seal again over the final one.
    out.resize(48 + 36);
    Bytes plain;
    for (int i = 0; i < 2; ++i) appendExtensionField(plain, ntpef::kCookie, Bytes(100, 0xb0));
    const std::span<const uint8_t> strings[] = {out, nonce};
    appendExtensionField(out, ntpef::kAuthenticator,
                         authenticatorBody(nonce, siv.seal(s2c, strings, plain)));
    return out;
  }
  void start() {
    ASSERT_TRUE(sync.start({"ke.example", "37:123:13:519:4460"}, choice::kSntp));
    runEvents();
  }

  platform::FakeClock clock{1765123545678LL};
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom rng;
  platform::FakeSocketFactory sockets{&events};
  platform::FakeBackgroundWork background;
  FixedRandom secure;
  std::shared_ptr<ScriptedConnector> tls = std::make_shared<ScriptedConnector>();
  NtsKeyring keyring{tls, siv, secure, background};
  Synchroniser sync{{clock, events, locale, rng, sockets}, [] { return 0.0; }};
  std::vector<SyncOutcome> outcomes;
};

TEST_F(NtsSyncFixture, KeysOncePerRunThenSetsTheClockOnlyFromVerifiedReplies) {
  start();
  EXPECT_TRUE(sync.usingNts());
  EXPECT_TRUE(sync.busy());
  EXPECT_TRUE(sockets.made.at(0)->sent.empty());  // nothing goes out before the keys
  background.finishAll();
  runEvents();
  ASSERT_EQ(sockets.made.at(0)->sent.size(), 1u);
  EXPECT_GT(sockets.made.at(0)->sent[0].size(), 48u);
  sockets.made.at(0)->deliver(answer());
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].kind, OutcomeKind::Adjusted) << outcomes[0].text;
  EXPECT_NEAR(static_cast<double>(outcomes[0].amount), 1500, 1);

  start();  // cookies are left: no second key establishment
  EXPECT_TRUE(background.jobs.empty());
  Bytes bent = answer();
  bent[41] ^= 0x01;
  const int64_t before = clock.utcMillis();
  sockets.made.at(0)->deliver(bent);
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_EQ(outcomes[1].kind, OutcomeKind::UnreadableReply);
  EXPECT_NE(outcomes[1].text.find("does not verify"), std::string::npos) << outcomes[1].text;
  EXPECT_EQ(clock.utcMillis(), before);
  EXPECT_EQ(tls->connects, 1);

  start();  // NTSN: one fresh key establishment, then the answer
  sockets.made.at(0)->deliver(answer("NTSN"));
  EXPECT_EQ(outcomes.size(), 2u);
  background.finishAll();
  runEvents();
  EXPECT_EQ(tls->connects, 2);
  sockets.made.at(0)->deliver(answer());
  ASSERT_EQ(outcomes.size(), 3u);
  EXPECT_EQ(outcomes[2].kind, OutcomeKind::Adjusted) << outcomes[2].text;
}

TEST_F(NtsSyncFixture, AFailedOrLateKeyEstablishmentEndsItWithoutPlainSntp) {
  tls->refusal = "the certificate is for another name";
  start();
  background.finishAll();
  runEvents();
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].kind, OutcomeKind::SocketError);
  EXPECT_NE(outcomes[0].text.find("another name"), std::string::npos) << outcomes[0].text;
  EXPECT_TRUE(sockets.made.at(0)->sent.empty());

  start();
  for (int i = 0; i < Synchroniser::kTimeOutTicks; ++i) sync.tick();
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_EQ(outcomes[1].kind, OutcomeKind::TimedOut);
  EXPECT_FALSE(sync.busy());
  tls->refusal.clear();
  background.finishAll();  // the late keys are not acted on
  runEvents();
  EXPECT_EQ(outcomes.size(), 2u);
  EXPECT_TRUE(sockets.made.at(0)->sent.empty());

  ASSERT_TRUE(sync.start({"plain.example", "37:123:13:519"}, choice::kSntp));
  EXPECT_FALSE(sync.usingNts());
  EXPECT_EQ(ntsKePort("37:123:13:519:4460"), 4460);
  EXPECT_EQ(ntsKePort("37:123:13:519:0"), std::nullopt);
  EXPECT_EQ(ntsKePort("37:123:13:519:x"), std::nullopt);
}

}  // namespace
}  // namespace korvane::sync
