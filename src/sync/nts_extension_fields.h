// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NTP extension fields (RFC 7822 section 3) and the four of Network Time Security (RFC 8915
// section 5): a 16-bit type, a 16-bit length of the whole field, the body padded to 4 bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::sync {

namespace ntpef {
constexpr size_t kHeaderSize = 4;                // type, length; RFC 7822 section 3
constexpr size_t kMinFieldSize = 16;             // RFC 7822 section 3
constexpr size_t kAlignment = 4;                 // RFC 7822 section 3
constexpr uint16_t kUniqueIdentifier = 0x0104;   // RFC 8915 section 5.3
constexpr uint16_t kCookie = 0x0204;             // RFC 8915 section 5.4
constexpr uint16_t kCookiePlaceholder = 0x0304;  // RFC 8915 section 5.5
constexpr uint16_t kAuthenticator = 0x0404;      // RFC 8915 section 5.6
constexpr size_t kUniqueIdSize = 32;             // at least 32 bytes; RFC 8915 section 5.3
constexpr size_t kNonceSize = 16;                // the client's nonce; RFC 8915 section 5.6
constexpr size_t kAuthenticatorLengths = 4;      // nonce length, ciphertext length
constexpr size_t kMaxFieldSize = 0xfffc;         // the largest multiple of 4 in 16 bits
static_assert(kMinFieldSize % kAlignment == 0 && kHeaderSize % kAlignment == 0);
static_assert(kHeaderSize + kUniqueIdSize >= kMinFieldSize);
}  // namespace ntpef

struct ExtensionField {
  uint16_t type = 0;
  size_t offset = 0;              // where the field starts in the packet
  std::span<const uint8_t> body;  // with its padding
};

// The fields of packet from offset on, each inside it; nothing (with why) when one is not.
std::optional<std::vector<ExtensionField>> readExtensionFields(std::span<const uint8_t> packet,
                                                               size_t offset, std::string& why);

// Appends a field of type with body, padded with zeros to 4 bytes and to the least field size.
void appendExtensionField(std::vector<uint8_t>& out, uint16_t type, std::span<const uint8_t> body);

struct AuthenticatorBody {
  std::span<const uint8_t> nonce;
  std::span<const uint8_t> ciphertext;
};
// The nonce and ciphertext of an authenticator's body; nothing when they do not fit in it.
std::optional<AuthenticatorBody> readAuthenticator(std::span<const uint8_t> body);
std::vector<uint8_t> authenticatorBody(std::span<const uint8_t> nonce,
                                       std::span<const uint8_t> ciphertext);

}  // namespace korvane::sync
