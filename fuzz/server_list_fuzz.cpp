// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a server list file: nothing crashes, and what loads keeps the tables' limits.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/text.h"
#include "shell/server_list_box.h"
#include "sync/server_list.h"

using namespace korvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto servers = sync::parseServerList(bytes);
  if (servers.size() > sync::ServerTables::kMaxServers) std::abort();
  for (const sync::ServerEntry& s : servers) {
    if (s.image < 1 || s.image > sync::kImageListSize) std::abort();
    for (char c : s.host + s.ports) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') std::abort();
    }
  }
  ui::ImageCombo Servers{"Servers"};
  ui::TextBox vbRemoteHost{"vbRemoteHost"};
  sync::ServerTables tables;
  int32_t CurServer = 0;
  const shell::ServerListTargets targets{Servers, vbRemoteHost, tables, CurServer};
  const std::string last = servers.empty() ? "" : text::trim(servers.back().host);
  shell::fillServers(servers, last, targets);
  if (Servers.count() != static_cast<int>(servers.size())) std::abort();
  if (!servers.empty() && CurServer == 0) std::abort();
  shell::CalcRandR(Servers, servers.empty() ? "NA" : text::right(servers[0].text, 2), tables);
  for (int i = 0; i < tables.regionCount; ++i) {
    if (!Servers.validIndex(tables.RegionServers[static_cast<size_t>(i)])) std::abort();
  }
  shell::Servers_Click(targets);
  return 0;
}
