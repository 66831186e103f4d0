// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The NTS-protected SNTP request and the checks of its reply (RFC 8915 section 5.7).
#include <optional>
#include <string>
#include <vector>

#include "platform/aead.h"
#include "sync/sntp_packet.h"

namespace korvane::sync {

namespace ntsp {
constexpr uint8_t kClientRequestFlags = 0x23;  // LI 0, version 4, mode 3: fields need NTPv4
}  // namespace ntsp

struct NtsRequestParts {
  std::span<const uint8_t> uniqueId;
  std::span<const uint8_t> cookie;
  size_t placeholders = 0;  // each as long as the cookie, to ask for that many more
  std::span<const uint8_t> nonce;
};

// header with the Unique Identifier, the cookie, its placeholders and the authenticator over
// all of it with the client-to-server key.
std::vector<uint8_t> buildNtsRequest(const SntpPacket& header, const NtsRequestParts& parts,
                                     const platform::SivAead::Key& c2s,
                                     const platform::SivAead& aead);

struct NtsReplyCheck {
  enum class Kind { Verified, Nak, Refused } kind = Kind::Refused;
  std::vector<std::vector<uint8_t>> cookies;  // the new ones, when verified
  std::string why;                            // when refused
};

// Verified only when the authenticator checks with the server-to-client key and the Unique
// Identifier inside its associated data is ours; Nak for a kiss "NTSN" carrying our identifier.
NtsReplyCheck checkNtsReply(std::span<const uint8_t> reply, std::span<const uint8_t> uniqueId,
                            const platform::SivAead::Key& s2c, const platform::SivAead& aead);

}  // namespace korvane::sync
