#pragma once
// The server list file NXO_KRV5.KRV: five header lines, then one server a line,
//   host:::list text ending in the region code:::image number:::Time:SNTP:DayTime:UnixTime ports
// and the tables and list control it fills.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/image_combo.h"
#include "platform/ui/text_box.h"
#include "sync/server_tables.h"

namespace korvane::sync {

constexpr std::string_view kServerListFile = "NXO_KRV5.KRV";
constexpr int kHeaderLines = 5;
constexpr int kFallbackImage = 2;           // the flag of the United States
constexpr int kImageListSize = 34;          // pictures of the main window's image list, from 1
constexpr size_t kMaxListBytes = 4u << 20;  // more of a list file than this is not read

struct ServerEntry {
  std::string host;  // field 1, untrimmed
  std::string text;  // field 2, as UTF-8
  int image = kFallbackImage;
  std::string ports;  // field 4, the rest of the line
  bool operator==(const ServerEntry&) const = default;
};

// The servers of a list file, at most ServerTables::kMaxServers. Lines end in CR LF, CR or LF;
// reading stops at the first empty line. A line with control characters, a host that is not
// plain ASCII, or not four fields is skipped; list texts in the ANSI code page become UTF-8.
// Only the first kMaxListBytes count: bytes beyond them mean the list was cut there, and the
// line the cut went through is dropped (so read kMaxListBytes + 1 bytes of the file).
std::vector<ServerEntry> parseServerList(std::string_view bytes);

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

}  // namespace korvane::sync
