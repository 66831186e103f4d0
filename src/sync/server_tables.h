// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The server tables the server list fills: indexed from 1, index 0 means none.
#include <array>
#include <cstdint>
#include <string>

namespace korvane::sync {

struct ServerTables {
  static constexpr int kMaxServers = 300;
  std::array<std::string, kMaxServers + 1> ServerHost;   // [k]: host of server k, untrimmed
  std::array<std::string, kMaxServers + 1> ServerPorts;  // [k]: "37:123:13:519"-style text
  std::array<int16_t, kMaxServers> RegionServers{};      // [0..count-1]: server numbers
  int regionCount = 0;

  bool validServer(int k) const { return k >= 1 && k <= kMaxServers; }
};

}  // namespace korvane::sync
