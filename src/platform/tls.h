// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A TLS 1.3 client connection. Every call blocks (up to the target's time-out): never call it on
// the UI thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::platform {

struct TlsTarget {
  std::string host;  // also the name the certificate must carry
  int port = 0;
  std::string alpn;    // the one application protocol the server must agree to
  std::string caFile;  // PEM certificates to trust; empty: the system's trust store
  int timeoutMs = 5000;
};

class TlsChannel {
 public:
  virtual ~TlsChannel() = default;
  // Sends all of data; false with why when it could not.
  virtual bool send(std::span<const uint8_t> data, std::string& why) = 0;
  // Up to maxLen bytes; empty when the server closed; nothing (with why) on an error or time-out.
  virtual std::optional<std::vector<uint8_t>> receive(size_t maxLen, std::string& why) = 0;
  // Keying material exported from the session (RFC 5705).
  virtual std::optional<std::vector<uint8_t>> exportKey(const std::string& label,
                                                        std::span<const uint8_t> context,
                                                        size_t size) = 0;
};

class TlsConnector {
 public:
  virtual ~TlsConnector() = default;
  // A channel whose handshake is done and whose certificate is checked; nothing with why else.
  virtual std::unique_ptr<TlsChannel> connect(const TlsTarget& target, std::string& why) = 0;
};

}  // namespace korvane::platform
