// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gnutls/gnutls_tls.h"

#include <fcntl.h>
#include <gnutls/crypto.h>
#include <gnutls/gnutls.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace korvane::platform {

namespace {

// A TCP connection to host:port within timeoutMs; -1 with why when none could be made.
int connectTcp(const TlsTarget& target, std::string& why) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(target.port);
  if (const int rc = getaddrinfo(target.host.c_str(), port.c_str(), &hints, &found); rc != 0) {
    why = "cannot find " + target.host + ": " + gai_strerror(rc);
    return -1;
  }
  int fd = -1;
  why = "cannot connect to " + target.host + " port " + port;
  for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
    if (fd < 0) continue;
    int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
    if (rc < 0 && errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int err = ETIMEDOUT;
      socklen_t len = sizeof err;
      if (poll(&p, 1, target.timeoutMs) == 1) getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
      rc = err == 0 ? 0 : -1;
      errno = err;
    }
    if (rc < 0) {
      why += std::string(": ") + std::strerror(errno);
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  // GnuTLS reads and writes it blocking; its own time-outs bound every call.
  if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

bool isAddress(const std::string& host) {
  addrinfo hints{};
  hints.ai_flags = AI_NUMERICHOST;
  addrinfo* found = nullptr;
  const bool numeric = getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0;
  if (found) freeaddrinfo(found);
  return numeric;
}

class GnutlsChannel final : public TlsChannel {
 public:
  GnutlsChannel() = default;
  GnutlsChannel(const GnutlsChannel&) = delete;
  GnutlsChannel& operator=(const GnutlsChannel&) = delete;
  ~GnutlsChannel() override {
    if (session_) {
      gnutls_bye(session_, GNUTLS_SHUT_WR);
      gnutls_deinit(session_);
    }
    if (credentials_) gnutls_certificate_free_credentials(credentials_);
    if (fd_ >= 0) close(fd_);
  }

  bool open(const TlsTarget& target, std::string& why) {
    fd_ = connectTcp(target, why);
    if (fd_ < 0) return false;
    if (!check(gnutls_certificate_allocate_credentials(&credentials_), why)) return false;
    const int trusted = target.caFile.empty()
                            ? gnutls_certificate_set_x509_system_trust(credentials_)
                            : gnutls_certificate_set_x509_trust_file(
                                  credentials_, target.caFile.c_str(), GNUTLS_X509_FMT_PEM);
    if (trusted <= 0) {
      why = target.caFile.empty() ? "no trusted certificates on this system"
                                  : "no certificates in " + target.caFile;
      return false;
    }
    if (!check(gnutls_init(&session_, GNUTLS_CLIENT), why) ||
        !check(gnutls_priority_set_direct(session_, "NORMAL:-VERS-ALL:+VERS-TLS1.3", nullptr),
               why) ||
        !check(gnutls_credentials_set(session_, GNUTLS_CRD_CERTIFICATE, credentials_), why))
      return false;
    if (!isAddress(target.host) &&
        !check(gnutls_server_name_set(session_, GNUTLS_NAME_DNS, target.host.data(),
                                      target.host.size()),
               why))
      return false;
    gnutls_session_set_verify_cert(session_, target.host.c_str(), 0);
    gnutls_datum_t alpn{reinterpret_cast<unsigned char*>(const_cast<char*>(target.alpn.data())),
                        static_cast<unsigned>(target.alpn.size())};
    if (!check(gnutls_alpn_set_protocols(session_, &alpn, 1, GNUTLS_ALPN_MANDATORY), why))
      return false;
    gnutls_transport_set_int(session_, fd_);
    gnutls_handshake_set_timeout(session_, static_cast<unsigned>(target.timeoutMs));
    gnutls_record_set_timeout(session_, static_cast<unsigned>(target.timeoutMs));
    int rc;
    do {
      rc = gnutls_handshake(session_);
    } while (rc < 0 && !gnutls_error_is_fatal(rc));
    if (rc < 0) {
      why = "TLS handshake with " + target.host + " failed: " + handshakeError(rc);
      return false;
    }
    gnutls_datum_t chosen{};
    if (gnutls_alpn_get_selected_protocol(session_, &chosen) < 0 ||
        std::string(reinterpret_cast<const char*>(chosen.data), chosen.size) != target.alpn) {
      why = target.host + " does not speak " + target.alpn;
      return false;
    }
    return true;
  }

  bool send(std::span<const uint8_t> data, std::string& why) override {
    while (!data.empty()) {
      const ssize_t n = gnutls_record_send(session_, data.data(), data.size());
      if (n == GNUTLS_E_AGAIN || n == GNUTLS_E_INTERRUPTED) continue;
      if (n < 0) return check(static_cast<int>(n), why);
      data = data.subspan(static_cast<size_t>(n));
    }
    return true;
  }

  std::optional<std::vector<uint8_t>> receive(size_t maxLen, std::string& why) override {
    std::vector<uint8_t> out(maxLen);
    ssize_t n;
    do {
      n = gnutls_record_recv(session_, out.data(), out.size());
    } while (n == GNUTLS_E_AGAIN || n == GNUTLS_E_INTERRUPTED);
    if (n == GNUTLS_E_PREMATURE_TERMINATION) n = 0;
    if (n < 0) {
      check(static_cast<int>(n), why);
      return std::nullopt;
    }
    out.resize(static_cast<size_t>(n));
    return out;
  }

  std::optional<std::vector<uint8_t>> exportKey(const std::string& label,
                                                std::span<const uint8_t> context,
                                                size_t size) override {
    std::vector<uint8_t> out(size);
    if (gnutls_prf_rfc5705(session_, label.size(), label.data(), context.size(),
                           reinterpret_cast<const char*>(context.data()), size,
                           reinterpret_cast<char*>(out.data())) < 0)
      return std::nullopt;
    return out;
  }

 private:
  static bool check(int rc, std::string& why) {
    if (rc >= 0) return true;
    why = std::string("TLS: ") + gnutls_strerror(rc);
    return false;
  }

  std::string handshakeError(int rc) const {
    if (rc != GNUTLS_E_CERTIFICATE_VERIFICATION_ERROR) return gnutls_strerror(rc);
    gnutls_datum_t text{};
    const unsigned status = gnutls_session_get_verify_cert_status(session_);
    if (gnutls_certificate_verification_status_print(status, GNUTLS_CRT_X509, &text, 0) < 0)
      return "the certificate is not trusted";
    std::string out(reinterpret_cast<const char*>(text.data), text.size);
    gnutls_free(text.data);
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
    return out;
  }

  int fd_ = -1;
  gnutls_certificate_credentials_t credentials_ = nullptr;
  gnutls_session_t session_ = nullptr;
};

}  // namespace

std::unique_ptr<TlsChannel> GnutlsConnector::connect(const TlsTarget& target, std::string& why) {
  auto channel = std::make_unique<GnutlsChannel>();
  if (!channel->open(target, why)) return nullptr;
  return channel;
}

void GnutlsRandom::fill(std::span<uint8_t> out) {
  // Without unpredictable bytes a request would be forgeable: failing here is not survivable.
  if (gnutls_rnd(GNUTLS_RND_NONCE, out.data(), out.size()) < 0) std::abort();
}

}  // namespace korvane::platform
