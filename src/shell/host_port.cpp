// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/host_port.h"

#include <algorithm>

namespace korvane::shell {

namespace {

constexpr size_t kMaxHostName = 253;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isNameChar(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' ||
         c == '_';
}

bool isV6Char(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.';
}

std::optional<int> parsePort(std::string_view text) {
  if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), isDigit))
    return std::nullopt;
  const int port = std::stoi(std::string(text));
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

}  // namespace

std::optional<HostPort> parseHostPort(std::string_view text, int defaultPort) {
  std::string_view host = text;
  std::string_view portText;
  bool v6 = false;
  if (!text.empty() && text.front() == '[') {
    const size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty() && (rest.front() != ':' || (portText = rest.substr(1)).empty()))
      return std::nullopt;
    v6 = true;
  } else if (std::count(text.begin(), text.end(), ':') > 1) {
    v6 = true;  // a bare IPv6 address: its port cannot be told from its last group
  } else if (const size_t colon = text.find(':'); colon != std::string_view::npos) {
    host = text.substr(0, colon);
    portText = text.substr(colon + 1);
    if (portText.empty()) return std::nullopt;
  }
  if (host.empty() || host.size() > kMaxHostName) return std::nullopt;
  if (!std::all_of(host.begin(), host.end(), v6 ? isV6Char : isNameChar)) return std::nullopt;
  int port = defaultPort;
  if (!portText.empty()) {
    const std::optional<int> p = parsePort(portText);
    if (!p) return std::nullopt;
    port = *p;
  }
  return HostPort{std::string(host), port};
}

}  // namespace korvane::shell
