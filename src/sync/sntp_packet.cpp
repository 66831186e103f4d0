// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/sntp_packet.h"

#include <algorithm>
#include <cstdio>

namespace korvane::sync {

SntpPacket buildSntpRequest(const NtpTimestamp& t1) {
  SntpPacket p{};
  p[sntp::kFlagsOffset] = sntp::kClientRequestFlags;
  std::copy(t1.bytes.begin(), t1.bytes.end(), p.begin() + sntp::kTransmitOffset);
  return p;
}

namespace {

std::string kissCodeText(std::span<const uint8_t> reply) {
  const std::string code = sntpKissCode(reply);
  return code.empty() ? "none" : code;
}

uint32_t be32At(std::span<const uint8_t> reply, size_t at) {
  return uint32_t{reply[at]} << 24 | uint32_t{reply[at + 1]} << 16 | uint32_t{reply[at + 2]} << 8 |
         uint32_t{reply[at + 3]};
}

double shortFormatMillis(uint32_t v) {
  return static_cast<double>(v) * 1000.0 / 65536.0;
}

std::string secondsText(double millis) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", millis / 1000.0);
  return buffer;
}

}  // namespace

std::string sntpKissCode(std::span<const uint8_t> reply) {
  if (reply.size() != sntp::kPacketSize || reply[sntp::kStratumOffset] != 0) return {};
  std::string code;
  for (size_t i = 0; i < 4; ++i) {
    const char c = static_cast<char>(reply[sntp::kReferenceIdOffset + i]);
    if (c >= 'A' && c <= 'Z') code.push_back(c);
  }
  return code;
}

std::string sntpReferenceId(std::span<const uint8_t> reply) {
  if (reply.size() != sntp::kPacketSize) return {};
  const auto id = reply.subspan(sntp::kReferenceIdOffset, 4);
  std::string text;
  if (reply[sntp::kStratumOffset] <= 1) {
    for (const uint8_t b : id) {
      if (b == 0) break;
      text.push_back(b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : '?');
    }
    return text;
  }
  for (const uint8_t b : id) text += (text.empty() ? "" : ".") + std::to_string(b);
  return text;
}

double sntpRootDistanceMillis(std::span<const uint8_t> reply) {
  if (reply.size() != sntp::kPacketSize) return 0;
  return shortFormatMillis(be32At(reply, sntp::kRootDelayOffset)) / 2 +
         shortFormatMillis(be32At(reply, sntp::kRootDispersionOffset));
}

std::optional<std::string> sntpDelayProblem(double delayMillis) {
  if (delayMillis < 0)
    return "SNTP reply refused: its round-trip delay of " + secondsText(delayMillis) +
           " s is negative (the server's stamps cannot be right)";
  if (delayMillis > sntp::kMaxDelayMillis)
    return "SNTP reply refused: its round-trip delay of " + secondsText(delayMillis) +
           " s is more than 3 s";
  return std::nullopt;
}

std::optional<std::string> sntpReplyProblem(std::span<const uint8_t> reply,
                                            const NtpTimestamp& t1) {
  if (reply.size() != sntp::kPacketSize)
    return "SNTP reply refused: it is " + std::to_string(reply.size()) + " bytes, not 48";
  NtpTimestamp originate, receive, transmit;
  NtpTimestamp::readAt(reply, sntp::kOriginateOffset, originate);
  NtpTimestamp::readAt(reply, sntp::kReceiveOffset, receive);
  NtpTimestamp::readAt(reply, sntp::kTransmitOffset, transmit);
  const uint8_t flags = reply[sntp::kFlagsOffset];
  const int stratum = reply[sntp::kStratumOffset];
  if (!(originate == t1)) return "SNTP reply refused: it does not answer our request";
  if ((flags & 0x07) != sntp::kModeServer)
    return "SNTP reply refused: the sender is not in server mode";
  if (((flags >> 3) & 0x07) == 0) return "SNTP reply refused: it is of version 0";
  // A kiss-o'-death is one whatever its leap indicator: most servers send it with 3.
  if (stratum == 0)
    return "SNTP reply refused: the server turned the request away (kiss code " +
           kissCodeText(reply) + ")";
  if ((flags >> 6) == sntp::kLeapUnsynchronised)
    return "SNTP reply refused: the server's clock is not synchronised";
  if (stratum > 15)
    return "SNTP reply refused: the server's stratum " + std::to_string(stratum) + " is invalid";
  if (transmit.isZero() || receive.isZero()) return "SNTP reply refused: the server sent no time";
  if (const double distance = sntpRootDistanceMillis(reply);
      distance > sntp::kMaxRootDistanceMillis)
    return "SNTP reply refused: the server is " + secondsText(distance) +
           " s from its reference clock, more than 3 s";
  return std::nullopt;
}

double sntpOffsetMillis(double t1, double t2, double t3, double t4) {
  return ((t2 - t1) + (t3 - t4)) / 2.0;
}

double sntpDelayMillis(double t1, double t2, double t3, double t4) {
  return (t4 - t1) - (t3 - t2);
}

}  // namespace korvane::sync
