// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TLS 1.3 over a blocking TCP socket with GnuTLS: ALPN required, the certificate checked against
// the host name, keying material exported by RFC 5705.
#include "platform/aead.h"
#include "platform/tls.h"

namespace korvane::platform {

class GnutlsConnector final : public TlsConnector {
 public:
  std::unique_ptr<TlsChannel> connect(const TlsTarget& target, std::string& why) override;
};

class GnutlsRandom final : public SecureRandom {
 public:
  void fill(std::span<uint8_t> out) override;
};

}  // namespace korvane::platform
