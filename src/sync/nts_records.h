// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The NTS Key Establishment records (RFC 8915 section 4): a 16-bit critical bit and type, a
// 16-bit body length, the body; all big-endian, over TLS.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::sync {

namespace ntske {
constexpr size_t kHeaderSize = 4;         // type (with the critical bit), body length
constexpr uint16_t kCritical = 0x8000;    // RFC 8915 section 4
constexpr uint16_t kEndOfMessage = 0;     // RFC 8915 section 4.1.1
constexpr uint16_t kNextProtocol = 1;     // RFC 8915 section 4.1.2
constexpr uint16_t kError = 2;            // RFC 8915 section 4.1.3
constexpr uint16_t kWarning = 3;          // RFC 8915 section 4.1.4
constexpr uint16_t kAeadAlgorithm = 4;    // RFC 8915 section 4.1.5
constexpr uint16_t kNewCookie = 5;        // RFC 8915 section 4.1.6
constexpr uint16_t kServer = 6;           // RFC 8915 section 4.1.7
constexpr uint16_t kPort = 7;             // RFC 8915 section 4.1.8
constexpr uint16_t kProtocolNtpV4 = 0;    // RFC 8915 section 7.7
constexpr uint16_t kAeadSivCmac256 = 15;  // RFC 5297 section 6.1, IANA AEAD registry
constexpr size_t kCodeSize = 2;           // a protocol, algorithm, error, warning or port
// Bounds of what this client accepts: a response is a few hundred bytes.
constexpr size_t kMaxResponse = 65536;
constexpr size_t kMaxCookie = 1024;
constexpr size_t kMaxCookies = 8;
constexpr size_t kMaxServerName = 255;
static_assert(kHeaderSize == 2 * sizeof(uint16_t));
static_assert(kMaxCookie + kHeaderSize <= 0xffff);
// The key export (RFC 8915 section 5.1): the label and the context's size.
constexpr const char* kExporterLabel = "EXPORTER-network-time-security";
constexpr size_t kExporterContextSize = 5;  // protocol, algorithm, 0 (client to server) or 1
}  // namespace ntske

// The client's request: NTPv4 over AES-SIV-CMAC-256, then End of Message.
std::vector<uint8_t> buildNtsKeRequest();

struct NtsKeResponse {
  std::vector<std::vector<uint8_t>> cookies;
  std::string server;  // empty: the key establishment server's host
  int port = 0;        // 0: 123
};

// The response so far: complete, failed (why in plain words) or waiting for more bytes.
struct NtsKeParse {
  enum class State { Incomplete, Complete, Failed } state = State::Incomplete;
  NtsKeResponse response;
  std::string why;
};
NtsKeParse parseNtsKeResponse(std::span<const uint8_t> bytes);

// The context of one of the two keys (RFC 8915 section 5.1).
std::vector<uint8_t> ntsExporterContext(bool serverToClient);

}  // namespace korvane::sync
