// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cryptography of Network Time Security as one loadable module, so that a program which never
// uses NTS never loads the TLS library (whose load-time set-up every start would pay).
#include <memory>

#include "platform/aead.h"
#include "platform/tls.h"

namespace korvane::platform {

struct NtsCrypto {
  std::unique_ptr<TlsConnector> tls;
  std::unique_ptr<SivAead> siv;
  std::unique_ptr<SecureRandom> random;
};

// The module's one entry, extern "C": a new NtsCrypto the caller owns.
inline constexpr const char* kNtsCryptoEntry = "korvane_nts_crypto";
using NtsCryptoEntry = NtsCrypto* (*)();

}  // namespace korvane::platform
