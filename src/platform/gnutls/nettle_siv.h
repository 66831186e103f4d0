// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// AES-SIV-CMAC-256 built on Nettle's AES-128 and CMAC: Nettle's own SIV takes one associated
// string and a nonce, the vector form of RFC 5297 takes any number of them.
#include "platform/aead.h"

namespace korvane::platform {

class NettleSiv final : public SivAead {
 public:
  std::vector<uint8_t> seal(const Key& key, Strings associated,
                            std::span<const uint8_t> plaintext) const override;
  std::optional<std::vector<uint8_t>> open(const Key& key, Strings associated,
                                           std::span<const uint8_t> sealed) const override;
};

}  // namespace korvane::platform
