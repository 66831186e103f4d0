// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The server list file NXO_KRV5.KRV: five header lines, then one server a line,
//   host:::list text ending in the region code:::image number:::Time:SNTP:DayTime:UnixTime ports
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace korvane::sync
