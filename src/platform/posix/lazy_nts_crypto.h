// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The NTS cryptography, loaded from its module (dlopen) the first time it is used, from any
// thread. Where the module cannot be loaded, a TLS connection fails with the reason and random
// bytes come from the kernel.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/nts_crypto.h"

namespace korvane::platform {

class LazyNtsCrypto {
 public:
  // The module's possible paths, tried in order.
  explicit LazyNtsCrypto(std::vector<std::string> modulePaths);
  ~LazyNtsCrypto();
  LazyNtsCrypto(const LazyNtsCrypto&) = delete;
  LazyNtsCrypto& operator=(const LazyNtsCrypto&) = delete;

  std::shared_ptr<TlsConnector> tls() { return tls_; }
  const SivAead& siv() const { return *siv_; }
  SecureRandom& random() { return *random_; }

  // The module's cryptography, loaded now if it is not yet; nothing (with why) when it cannot be.
  const NtsCrypto* loaded(std::string& why);

 private:
  std::vector<std::string> paths_;
  std::once_flag once_;
  void* module_ = nullptr;
  std::unique_ptr<NtsCrypto> crypto_;
  std::string failure_;
  std::shared_ptr<TlsConnector> tls_;
  std::unique_ptr<SivAead> siv_;
  std::unique_ptr<SecureRandom> random_;
};

}  // namespace korvane::platform
