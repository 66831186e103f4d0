#include "sync/sntp_packet.h"

#include <algorithm>

namespace korvane::sync {

SntpPacket buildSntpRequest(const NtpTimestamp& t1) {
  SntpPacket p{};
  p[sntp::kFlagsOffset] = sntp::kClientRequestFlags;
  std::copy(t1.bytes.begin(), t1.bytes.end(), p.begin() + sntp::kTransmitOffset);
  return p;
}

namespace {

std::string kissCode(std::span<const uint8_t> reply) {
  std::string code;
  for (size_t i = 0; i < 4; ++i) {
    const char c = static_cast<char>(reply[sntp::kReferenceIdOffset + i]);
    if (c >= 'A' && c <= 'Z') code.push_back(c);
  }
  return code.empty() ? "none" : code;
}

}  // namespace

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
  if ((flags >> 6) == sntp::kLeapUnsynchronised)
    return "SNTP reply refused: the server's clock is not synchronised";
  if (stratum == 0)
    return "SNTP reply refused: the server turned the request away (kiss code " + kissCode(reply) +
           ")";
  if (stratum > 15)
    return "SNTP reply refused: the server's stratum " + std::to_string(stratum) + " is invalid";
  if (transmit.isZero() || receive.isZero()) return "SNTP reply refused: the server sent no time";
  return std::nullopt;
}

double sntpOffsetMillis(double t1, double t2, double t3, double t4) {
  return ((t2 - t1) + (t3 - t4)) / 2.0;
}

double sntpDelayMillis(double t1, double t2, double t3, double t4) {
  return (t4 - t1) - (t3 - t2);
}

}  // namespace korvane::sync
