// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an SNTP exchange asks of an authentication layer (Network Time Security): the request to
// send for a header, and the reply's check before it is read as SNTP.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sync/sntp_packet.h"

namespace korvane::sync {

class SntpGuard {
 public:
  virtual ~SntpGuard() = default;
  virtual std::vector<uint8_t> request(const SntpPacket& header) = 0;
  // Why the reply is not to be trusted; nothing when its first 48 bytes may be read.
  virtual std::optional<std::string> replyProblem(std::span<const uint8_t> reply) = 0;
};

}  // namespace korvane::sync
