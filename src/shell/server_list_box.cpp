// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/server_list_box.h"

#include <algorithm>

#include "common/text.h"

namespace korvane::shell {

void fillServers(const std::vector<ServerEntry>& servers, const std::string& LastServer,
                 ServerListTargets t) {
  int k = 0;
  bool selected = false;
  for (const ServerEntry& s : servers) {
    if (!t.tables.validServer(k + 1)) break;
    ++k;
    t.Servers.addItem(s.text, s.image);
    t.tables.ServerHost[static_cast<size_t>(k)] = s.host;
    t.tables.ServerPorts[static_cast<size_t>(k)] = s.ports;
    if (text::trim(s.host) == LastServer) {
      t.Servers.select(k);
      t.vbRemoteHost.setText(t.tables.ServerHost[static_cast<size_t>(k)]);
      t.CurServer = k;
      selected = true;
    }
  }
  // A server chosen from an earlier list is not on this one: its number would name another
  // server here, paired with the old host. Server 1 takes its place.
  if (!selected && t.CurServer != 0) {
    t.CurServer = k > 0 ? 1 : 0;
    t.Servers.select(1);
    t.vbRemoteHost.setText(k > 0 ? t.tables.ServerHost[1] : std::string());
  }
}

void CalcRandR(const ui::ImageCombo& Servers, std::string_view regionCode, ServerTables& tables) {
  int count = 0;
  const int n = std::min(Servers.count(), ServerTables::kMaxServers);
  for (int i = 1; i <= n; ++i) {
    if (text::right(Servers.item(i).text, 2) == regionCode) {
      tables.RegionServers[static_cast<size_t>(count)] = static_cast<int16_t>(i);
      ++count;
    }
  }
  tables.regionCount = count;
}

void Servers_Click(ServerListTargets t) {
  const int k = t.Servers.selectedIndex();
  if (!t.Servers.validIndex(k) || !t.tables.validServer(k)) return;
  t.vbRemoteHost.setText(t.tables.ServerHost[static_cast<size_t>(k)]);
  t.CurServer = k;
}

}  // namespace korvane::shell
