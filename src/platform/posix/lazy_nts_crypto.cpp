// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/lazy_nts_crypto.h"

#include <dlfcn.h>
#include <sys/random.h>

#include <cerrno>
#include <cstdlib>

namespace korvane::platform {

namespace {

class LazyTls final : public TlsConnector {
 public:
  explicit LazyTls(LazyNtsCrypto& owner) : owner_(owner) {}
  std::unique_ptr<TlsChannel> connect(const TlsTarget& target, std::string& why) override {
    const NtsCrypto* crypto = owner_.loaded(why);
    return crypto ? crypto->tls->connect(target, why) : nullptr;
  }

 private:
  LazyNtsCrypto& owner_;
};

// Keys exist only after a TLS session made them, so the module is loaded by then; without it
// nothing is sealed and nothing opens.
class LazySiv final : public SivAead {
 public:
  explicit LazySiv(LazyNtsCrypto& owner) : owner_(owner) {}
  std::vector<uint8_t> seal(const Key& key, Strings associated,
                            std::span<const uint8_t> plaintext) const override {
    std::string why;
    const NtsCrypto* c = owner_.loaded(why);
    return c ? c->siv->seal(key, associated, plaintext) : std::vector<uint8_t>{};
  }
  std::optional<std::vector<uint8_t>> open(const Key& key, Strings associated,
                                           std::span<const uint8_t> sealed) const override {
    std::string why;
    const NtsCrypto* c = owner_.loaded(why);
    return c ? c->siv->open(key, associated, sealed) : std::nullopt;
  }

 private:
  LazyNtsCrypto& owner_;
};

class LazyRandom final : public SecureRandom {
 public:
  explicit LazyRandom(LazyNtsCrypto& owner) : owner_(owner) {}
  void fill(std::span<uint8_t> out) override {
    std::string why;
    if (const NtsCrypto* c = owner_.loaded(why)) return c->random->fill(out);
    size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = getrandom(out.data() + done, out.size() - done, 0);
      if (n > 0) done += static_cast<size_t>(n);
      if (n < 0 && errno != EINTR) std::abort();  // guessable bytes are worse than none
    }
  }

 private:
  LazyNtsCrypto& owner_;
};

}  // namespace

LazyNtsCrypto::LazyNtsCrypto(std::vector<std::string> modulePaths)
    : paths_(std::move(modulePaths)),
      tls_(std::make_shared<LazyTls>(*this)),
      siv_(std::make_unique<LazySiv>(*this)),
      random_(std::make_unique<LazyRandom>(*this)) {}

LazyNtsCrypto::~LazyNtsCrypto() {
  crypto_.reset();
  if (module_) dlclose(module_);
}

const NtsCrypto* LazyNtsCrypto::loaded(std::string& why) {
  std::call_once(once_, [this] {
    failure_ = "the NTS module was not found";
    for (const std::string& path : paths_) {
      if (path.empty()) continue;
      void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (!module) {
        if (const char* e = dlerror()) failure_ = e;
        continue;
      }
      const auto entry = reinterpret_cast<NtsCryptoEntry>(dlsym(module, kNtsCryptoEntry));
      if (!entry) {
        failure_ = "the NTS module has no entry";
        dlclose(module);
        continue;
      }
      module_ = module;
      crypto_.reset(entry());
      return;
    }
  });
  if (!crypto_) why = "NTS is not available: " + failure_;
  return crypto_.get();
}

}  // namespace korvane::platform
