// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/product.h"

#include "shell/host_port.h"

namespace korvane::shell {

std::string onlineHelpAddress(const std::string& updateHost) {
  const std::optional<HostPort> server = parseHostPort(updateHost, 80);
  if (!server) return "";
  const bool v6 = server->host.find(':') != std::string::npos;
  const std::string host = v6 ? "[" + server->host + "]" : server->host;
  return "http://" + host + (server->port == 80 ? "" : ":" + std::to_string(server->port)) +
         "/Korvane";
}

std::string versionString(int major, int minor, int revision) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

}  // namespace korvane::shell
