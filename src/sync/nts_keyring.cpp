// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/nts_keyring.h"

#include <charconv>

#include "common/text.h"

namespace korvane::sync {

namespace {

constexpr int kKeyEstablishmentTimeoutMs = 10000;

}  // namespace

std::optional<int> ntsKePort(std::string_view ports) {
  const auto fields = text::split(ports, ":");
  if (fields.size() < 5) return std::nullopt;
  const std::string& field = fields[4];
  int port = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), port);
  if (ec != std::errc() || end != field.data() + field.size() || port < 1 || port > 65535)
    return std::nullopt;
  return port;
}

void NtsKeyring::prepare(const std::string& host, int port, Ready ready) {
  if (const NtsKeys* keys = keysFor(host); keys && !keys->cookies.empty()) return ready({});
  auto result = std::make_shared<NtsEstablished>();
  const platform::TlsTarget target{host, port, kNtsKeAlpn, caFile_, kKeyEstablishmentTimeoutMs};
  const unsigned generation = ++generation_;
  background_.run([result, target, tls = tls_] { *result = establishNtsKeys(*tls, target); },
                  [this, result, generation, host, ready = std::move(ready)] {
                    if (generation != generation_) return;  // cancelled meanwhile
                    if (!result->ok) return ready(result->why);
                    jar_[host] = std::move(result->keys);
                    ready({});
                  });
}

std::unique_ptr<NtsGuard> NtsKeyring::guardFor(const std::string& host) {
  return std::make_unique<NtsGuard>(jar_.at(host), aead_, random_);
}

const NtsKeys* NtsKeyring::keysFor(const std::string& host) const {
  const auto it = jar_.find(host);
  return it == jar_.end() ? nullptr : &it->second;
}

}  // namespace korvane::sync
