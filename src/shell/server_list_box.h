// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's server list box and the server tables beside it, filled from a list file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/image_combo.h"
#include "platform/ui/text_box.h"
#include "sync/server_list.h"
#include "sync/server_tables.h"

namespace korvane::shell {

using sync::ServerEntry;
using sync::ServerTables;

// The main-window state that the list fills.
struct ServerListTargets {
  ui::ImageCombo& Servers;
  ui::TextBox& vbRemoteHost;
  ServerTables& tables;
  int32_t& CurServer;
};

// Puts the servers into Servers and the tables from index 1; the entry whose trimmed host is
// LastServer (the last such) is selected and becomes the current server. When none is, a
// current server of an earlier list gives way to server 1 (or to none on an empty list).
void fillServers(const std::vector<ServerEntry>& servers, const std::string& LastServer,
                 ServerListTargets targets);

// Rebuilds RegionServers from the entries of Servers whose text ends in the region code.
void CalcRandR(const ui::ImageCombo& Servers, std::string_view regionCode, ServerTables& tables);

// The user picked an entry of Servers.
void Servers_Click(ServerListTargets targets);

}  // namespace korvane::shell
