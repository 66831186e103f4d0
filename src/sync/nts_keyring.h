// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keys and cookies of every NTS server asked in this run: a key establishment (in the
// background) only for a server without cookies left.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/background.h"
#include "sync/nts_session.h"

namespace korvane::sync {

// The key establishment port a server list line names after its four protocol ports.
std::optional<int> ntsKePort(std::string_view ports);

class NtsKeyring {
 public:
  using Ready = std::function<void(const std::string& why)>;

  NtsKeyring(std::shared_ptr<platform::TlsConnector> tls, const platform::SivAead& aead,
             platform::SecureRandom& random, platform::BackgroundWork& background,
             std::string caFile = {})
      : tls_(std::move(tls)),
        aead_(aead),
        random_(random),
        background_(background),
        caFile_(std::move(caFile)) {}

  // Calls ready (why empty) once host has cookies: at once, or after a key establishment with
  // host:port; why says what failed otherwise.
  void prepare(const std::string& host, int port, Ready ready);
  // A prepare still running ends without calling its ready.
  void cancel() { ++generation_; }
  // The guard of one exchange with host, whose keys prepare made ready.
  std::unique_ptr<NtsGuard> guardFor(const std::string& host);
  const NtsKeys* keysFor(const std::string& host) const;

 private:
  std::shared_ptr<platform::TlsConnector> tls_;
  const platform::SivAead& aead_;
  platform::SecureRandom& random_;
  platform::BackgroundWork& background_;
  std::string caFile_;
  std::map<std::string, NtsKeys> jar_;
  unsigned generation_ = 0;
};

}  // namespace korvane::sync
