// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SNTP packet (RFC 4330 section 4): 48 bytes, big-endian, the fields the client uses.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/ntp_timestamp.h"

namespace korvane::sync {

namespace sntp {
constexpr size_t kPacketSize = 48;
constexpr size_t kFlagsOffset = 0;           // LI (2 bits), VN (3 bits), Mode (3 bits); RFC 4330 s4
constexpr size_t kStratumOffset = 1;         // 0 kiss-o'-death, 1..15 synchronised, 16+ invalid
constexpr size_t kRootDelayOffset = 4;       // round trip to the reference, 16.16 seconds
constexpr size_t kRootDispersionOffset = 8;  // the reference's error bound, 16.16 seconds
constexpr size_t kReferenceIdOffset = 12;    // the kiss code when stratum is 0 (four ASCII bytes)
constexpr size_t kOriginateOffset = 24;      // T1 echoed back by the server
constexpr size_t kReceiveOffset = 32;        // T2: request arrived at the server
constexpr size_t kTransmitOffset = 40;       // T3: reply left the server
static_assert(kTransmitOffset + NtpTimestamp::kSize == kPacketSize);
static_assert(kReceiveOffset + NtpTimestamp::kSize == kTransmitOffset);
static_assert(kOriginateOffset + NtpTimestamp::kSize == kReceiveOffset);

constexpr uint8_t kClientRequestFlags = 0x1B;  // LI 0, version 3, mode 3 (client)
constexpr uint8_t kModeServer = 4;
constexpr uint8_t kLeapUnsynchronised = 3;
// What careful clients accept: a reply held longer, or a server further from its reference,
// says too little about the time to move a clock by.
constexpr double kMaxDelayMillis = 3000;
constexpr double kMaxRootDistanceMillis = 3000;
}  // namespace sntp

using SntpPacket = std::array<uint8_t, sntp::kPacketSize>;

// The client request, carrying T1 in its transmit timestamp so the reply can be matched.
SntpPacket buildSntpRequest(const NtpTimestamp& t1);

// Why a reply to a request sent at t1 cannot be used, in plain words; empty when it can.
std::optional<std::string> sntpReplyProblem(std::span<const uint8_t> reply, const NtpTimestamp& t1);

// The kiss code of a stratum-0 reply ("DENY", "RSTR", "RATE", ...); empty for any other reply.
std::string sntpKissCode(std::span<const uint8_t> reply);

// The reference id of a 48-byte reply as people read it: the source's four-letter code at
// stratum 0 and 1 (unprintable bytes as '?'), the upstream server's IPv4 address above
// (RFC 5905 section 7.3).
std::string sntpReferenceId(std::span<const uint8_t> reply);

// The root distance (root delay / 2 + root dispersion) of a 48-byte reply, in milliseconds.
double sntpRootDistanceMillis(std::span<const uint8_t> reply);

// Why a measured round trip makes the reply unusable, in plain words; empty when it does not.
std::optional<std::string> sntpDelayProblem(double delayMillis);

// The clock offset in milliseconds, ((T2 - T1) + (T3 - T4)) / 2, from the four timestamps.
double sntpOffsetMillis(double t1, double t2, double t3, double t4);
// The round-trip delay in milliseconds, (T4 - T1) - (T3 - T2).
double sntpDelayMillis(double t1, double t2, double t3, double t4);

}  // namespace korvane::sync
