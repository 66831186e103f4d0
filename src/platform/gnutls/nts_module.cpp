// SPDX-License-Identifier: GPL-3.0-or-later
// The module the desktop program loads on its first NTS exchange.
#include <type_traits>

#include "platform/gnutls/gnutls_tls.h"
#include "platform/gnutls/nettle_siv.h"
#include "platform/nts_crypto.h"

extern "C" __attribute__((visibility("default"))) korvane::platform::NtsCrypto*
korvane_nts_crypto() {
  using namespace korvane::platform;
  return new NtsCrypto{std::make_unique<GnutlsConnector>(), std::make_unique<NettleSiv>(),
                       std::make_unique<GnutlsRandom>()};
}

static_assert(std::is_same_v<decltype(&korvane_nts_crypto), korvane::platform::NtsCryptoEntry>);
