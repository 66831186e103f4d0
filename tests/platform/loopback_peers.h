// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small servers on 127.0.0.1 made of plain sockets, for the socket backends to talk to.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "loopback_address.h"

namespace korvane::testing {

using Bytes = std::vector<uint8_t>;

inline int portOf(int fd) {
  sockaddr_in a{};
  socklen_t len = sizeof a;
  EXPECT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len), 0);
  return ntohs(a.sin_port);
}

// A socket of the test's own that closes itself.
struct Fd {
  int fd = -1;
  explicit Fd(int f = -1) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { reset(); }
  void reset() {
    if (fd >= 0) close(fd);
    fd = -1;
  }
};

// A TCP server on an ephemeral port of 127.0.0.1.
class TcpServer {
 public:
  TcpServer() : listener_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in a = loopbackAddress(0);
    EXPECT_EQ(bind(listener_.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
    EXPECT_EQ(listen(listener_.fd, 4), 0);
    port_ = portOf(listener_.fd);
  }
  int port() const { return port_; }
  // Whether a connection waits to be accepted.
  bool pending() const {
    pollfd p{listener_.fd, POLLIN, 0};
    return poll(&p, 1, 0) == 1;
  }
  // The next connection; a client's connect on the loopback completes without its loop running.
  int accept() {
    pollfd p{listener_.fd, POLLIN, 0};
    if (poll(&p, 1, 5000) != 1) return -1;
    return ::accept4(listener_.fd, nullptr, nullptr, SOCK_CLOEXEC);
  }

 private:
  Fd listener_;
  int port_ = 0;
};

// A port on which nothing listens (it was free a moment ago).
inline int closedPort() {
  TcpServer probe;
  return probe.port();
}

inline void send(int fd, const Bytes& bytes) {
  if (bytes.empty()) return;
  EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

class UdpPeer {
 public:
  UdpPeer() : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in a = loopbackAddress(0);
    EXPECT_EQ(bind(fd_.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
    port_ = portOf(fd_.fd);
  }
  int port() const { return port_; }
  // Waits for a datagram and remembers who sent it.
  Bytes receive() {
    pollfd p{fd_.fd, POLLIN, 0};
    if (poll(&p, 1, 5000) != 1) return {};
    Bytes b(2048);
    fromLength_ = sizeof from_;
    const ssize_t n =
        recvfrom(fd_.fd, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&from_), &fromLength_);
    b.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return b;
  }
  // Sends b to whoever `heard` last received from.
  void sendTo(const UdpPeer& heard, const Bytes& b) const {
    EXPECT_EQ(sendto(fd_.fd, b.data(), b.size(), 0, reinterpret_cast<const sockaddr*>(&heard.from_),
                     heard.fromLength_),
              static_cast<ssize_t>(b.size()));
  }

 private:
  Fd fd_;
  int port_ = 0;
  sockaddr_storage from_{};
  socklen_t fromLength_ = 0;
};

}  // namespace korvane::testing
