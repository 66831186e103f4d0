// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Server addresses written as "host" or "host:port", from the build, the environment or a file.
#include <optional>
#include <string>
#include <string_view>

namespace korvane::shell {

struct HostPort {
  std::string host;  // a name, an IPv4 address or an IPv6 address without its brackets
  int port = 0;
};

// "host", "host:port", "[v6 address]:port" or a bare v6 address; empty when the text is not one of
// these, the host holds other characters than a host name may, or the port is not 1 to 65535.
std::optional<HostPort> parseHostPort(std::string_view text, int defaultPort);

}  // namespace korvane::shell
