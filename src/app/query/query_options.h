// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The query tool's command line.
#include <optional>
#include <string>
#include <vector>

#include "sync/protocol.h"

namespace korvane::query {

struct QueryOptions {
  enum class Action { Query, Help, Version } action = Action::Query;
  sync::Protocol protocol = sync::Protocol::Sntp;
  std::string protocolText = "sntp";  // as given, for the output line
  int count = 1;
  std::string host;      // as given, for the output line
  std::string hostName;  // the name or address alone: no port, no brackets
  int port = 0;          // 0: the protocol's own
  int timeoutMs = 5000;  // one exchange without an outcome after this is timed out
  int gapMs = 0;         // the pause between two exchanges of --count
  bool nts = false;      // SNTP under Network Time Security; port is then the key server's
  std::string caFile;    // nts: the certificates to trust; empty: the system's
};

constexpr int kMaxCount = 100000;
constexpr int kMaxTimeoutMs = 600000;
constexpr int kMaxGapMs = 3600000;
// Many exchanges in a row look like an attack to a public server; loopback gets no pause.
constexpr int kDefaultGapMs = 2000;

// The options of the arguments after the program name; error says what is wrong otherwise.
std::optional<QueryOptions> parseQueryOptions(const std::vector<std::string>& args,
                                              std::string& error);

// Names and addresses of this machine's loopback: 127.0.0.0/8, ::1 and localhost.
bool isLoopbackHost(const std::string& hostName);

std::string queryUsage(const std::string& program);

}  // namespace korvane::query
