// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One server's Network Time Security for a run: the keys and cookies of a key establishment
// (blocking, over TLS) and the guard of each SNTP exchange that spends a cookie.
#include <deque>
#include <string>
#include <vector>

#include "platform/aead.h"
#include "platform/tls.h"
#include "sync/sntp_guard.h"

namespace korvane::sync {

constexpr int kNtsKePort = 4460;  // RFC 8915 section 4
constexpr int kNtpPort = 123;
constexpr const char* kNtsKeAlpn = "ntske/1";

struct NtsKeys {
  platform::SivAead::Key c2s{}, s2c{};
  std::string ntpHost;  // where the SNTP requests go
  int ntpPort = kNtpPort;
  std::deque<std::vector<uint8_t>> cookies;
};

struct NtsEstablished {
  bool ok = false;
  NtsKeys keys;
  std::string why;
};

// Key establishment with target (RFC 8915 section 4). Blocks: never on the UI thread.
NtsEstablished establishNtsKeys(platform::TlsConnector& tls, const platform::TlsTarget& target);
// The same over a channel whose handshake is done.
NtsEstablished establishNtsKeys(platform::TlsChannel& channel, const std::string& host);

// The guard of one exchange: spends a cookie, asks for as many as keep the jar full, and takes
// the reply's new cookies once it verifies.
class NtsGuard final : public SntpGuard {
 public:
  NtsGuard(NtsKeys& keys, const platform::SivAead& aead, platform::SecureRandom& random)
      : keys_(keys), aead_(aead), random_(random) {}

  std::vector<uint8_t> request(const SntpPacket& header) override;
  std::optional<std::string> replyProblem(std::span<const uint8_t> reply) override;
  // The server answered NTSN: its cookies are spent, a fresh key establishment is due.
  bool nak() const { return nak_; }

 private:
  NtsKeys& keys_;
  const platform::SivAead& aead_;
  platform::SecureRandom& random_;
  std::vector<uint8_t> uniqueId_;
  bool nak_ = false;
};

}  // namespace korvane::sync
