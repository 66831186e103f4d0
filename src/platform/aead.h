// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// AEAD_AES_SIV_CMAC_256 (RFC 5297): the authenticated encryption of Network Time Security.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace korvane::platform {

class SivAead {
 public:
  static constexpr size_t kKeySize = 32;  // two AES-128 keys: CMAC, then CTR
  static constexpr size_t kTagSize = 16;  // the synthetic IV, ahead of the ciphertext
  using Key = std::array<uint8_t, kKeySize>;
  // The associated data as a vector of strings (RFC 5297 section 2.6); a nonce goes last.
  using Strings = std::span<const std::span<const uint8_t>>;

  virtual ~SivAead() = default;
  // The synthetic IV followed by the ciphertext: kTagSize bytes more than plaintext.
  virtual std::vector<uint8_t> seal(const Key& key, Strings associated,
                                    std::span<const uint8_t> plaintext) const = 0;
  // The plaintext, or nothing when sealed was not made with this key and associated data.
  virtual std::optional<std::vector<uint8_t>> open(const Key& key, Strings associated,
                                                   std::span<const uint8_t> sealed) const = 0;
};

// Unpredictable bytes, for identifiers an attacker must not guess.
class SecureRandom {
 public:
  virtual ~SecureRandom() = default;
  virtual void fill(std::span<uint8_t> out) = 0;
};

}  // namespace korvane::platform
