// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The IPv4 loopback address with a port, for the tests' own plain sockets.
#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstdint>

namespace korvane::testing {

// 127.0.0.1 at port (0 = any free one when binding).
inline sockaddr_in loopbackAddress(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

}  // namespace korvane::testing
