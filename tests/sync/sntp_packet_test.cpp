// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/sntp_packet.h"

#include <gtest/gtest.h>

namespace korvane::sync {
namespace {

const NtpTimestamp kT1 = NtpTimestamp::fromParts(3974112345u, 0x12345678u);

SntpPacket goodReply() {
  SntpPacket p{};
  p[0] = 0x24;  // LI 0, version 4, mode 4
  p[1] = 2;
  std::copy(kT1.bytes.begin(), kT1.bytes.end(), p.begin() + sntp::kOriginateOffset);
  const NtpTimestamp t3 = NtpTimestamp::fromParts(3974112346u, 0);
  std::copy(t3.bytes.begin(), t3.bytes.end(), p.begin() + sntp::kReceiveOffset);
  std::copy(t3.bytes.begin(), t3.bytes.end(), p.begin() + sntp::kTransmitOffset);
  return p;
}

TEST(SntpRequest, CarriesClientModeAndT1) {
  const SntpPacket r = buildSntpRequest(kT1);
  EXPECT_EQ(r[0], 0x1B);
  NtpTimestamp sent;
  ASSERT_TRUE(NtpTimestamp::readAt(r, sntp::kTransmitOffset, sent));
  EXPECT_EQ(sent, kT1);
  for (size_t i = 1; i < sntp::kTransmitOffset; ++i) EXPECT_EQ(r[i], 0) << i;
}

TEST(SntpReply, EveryReasonToRefuse) {
  struct Case {
    const char* what;
    void (*spoil)(SntpPacket&);
    const char* words;  // empty: the reply is usable
  };
  const Case cases[] = {
      {"good", [](SntpPacket&) {}, ""},
      {"other originate", [](SntpPacket& p) { p[sntp::kOriginateOffset + 7] ^= 1; },
       "does not answer our request"},
      {"client mode", [](SntpPacket& p) { p[0] = 0x23; }, "not in server mode"},
      {"broadcast mode", [](SntpPacket& p) { p[0] = 0x25; }, "not in server mode"},
      {"unsynchronised", [](SntpPacket& p) { p[0] = 0xE4; }, "not synchronised"},
      {"version 0", [](SntpPacket& p) { p[0] = 0x04; }, "version 0"},
      {"version 1 is fine", [](SntpPacket& p) { p[0] = 0x0C; }, ""},
      {"kiss-o'-death with leap 3",
       [](SntpPacket& p) {
         p[0] = 0xE4, p[1] = 0;
         p[12] = 'D', p[13] = 'E', p[14] = 'N', p[15] = 'Y';
       },
       "kiss code DENY"},
      {"root distance 3 s is fine", [](SntpPacket& p) { p[5] = 2, p[9] = 2; }, ""},
      {"root distance just over 3 s", [](SntpPacket& p) { p[5] = 2, p[9] = 2, p[11] = 1; },
       "more than 3 s"},
      {"kiss-o'-death",
       [](SntpPacket& p) {
         p[1] = 0;
         p[12] = 'R', p[13] = 'A', p[14] = 'T', p[15] = 'E';
       },
       "kiss code RATE"},
      {"stratum 16", [](SntpPacket& p) { p[1] = 16; }, "stratum 16"},
      {"stratum 15 is fine", [](SntpPacket& p) { p[1] = 15; }, ""},
      {"no transmit time",
       [](SntpPacket& p) { std::fill(p.begin() + sntp::kTransmitOffset, p.end(), 0); },
       "sent no time"},
      {"no receive time",
       [](SntpPacket& p) {
         std::fill(p.begin() + sntp::kReceiveOffset, p.begin() + sntp::kTransmitOffset, 0);
       },
       "sent no time"},
  };
  for (const Case& c : cases) {
    SntpPacket p = goodReply();
    c.spoil(p);
    const auto problem = sntpReplyProblem(p, kT1);
    if (*c.words == '\0') {
      EXPECT_FALSE(problem) << c.what << ": " << problem.value_or("");
    } else {
      ASSERT_TRUE(problem) << c.what;
      EXPECT_NE(problem->find(c.words), std::string::npos) << c.what << ": " << *problem;
    }
  }
  const std::vector<uint8_t> shortReply(47, 0);
  EXPECT_TRUE(sntpReplyProblem(shortReply, kT1));
  EXPECT_EQ(sntpKissCode(shortReply), "");
}

// Read from outside input: a code is cut at its first NUL and never carries a control byte.
TEST(SntpReply, TheReferenceIdIsACodeAtStratumOneAndAnAddressAbove) {
  const struct {
    uint8_t stratum;
    std::array<uint8_t, 4> id;
    const char* shown;
  } cases[] = {{1, {'G', 'P', 'S', 0}, "GPS"},    {1, {'L', 'O', 'C', 'L'}, "LOCL"},
               {0, {'R', 'A', 'T', 'E'}, "RATE"}, {1, {'A', 0x07, 0xFF, 'B'}, "A??B"},
               {1, {0, 'X', 'Y', 'Z'}, ""},       {3, {192, 0, 2, 17}, "192.0.2.17"}};
  for (const auto& c : cases) {
    SntpPacket p = goodReply();
    p[sntp::kStratumOffset] = c.stratum;
    std::copy(c.id.begin(), c.id.end(), p.begin() + sntp::kReferenceIdOffset);
    EXPECT_EQ(sntpReferenceId(p), c.shown) << c.shown;
  }
  EXPECT_EQ(sntpReferenceId(std::vector<uint8_t>(47, 0)), "");
}

TEST(SntpReply, DelayOutsideZeroToThreeSecondsIsRefused) {
  for (const auto& [delay, refused] : {std::pair{-0.5, true}, std::pair{0.0, false},
                                       std::pair{3000.0, false}, std::pair{3000.5, true}})
    EXPECT_EQ(sntpDelayProblem(delay).has_value(), refused) << delay;
}

TEST(SntpOffset, WorkedExample) {
  // T1 = 1000, T2 = 1600, T3 = 1610, T4 = 1250.
  EXPECT_DOUBLE_EQ(sntpOffsetMillis(1000, 1600, 1610, 1250), 480);
  EXPECT_DOUBLE_EQ(sntpDelayMillis(1000, 1600, 1610, 1250), 240);
}

}  // namespace
}  // namespace korvane::sync
