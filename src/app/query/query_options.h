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
  std::string host;
};

constexpr int kMaxCount = 100000;

// The options of the arguments after the program name; error says what is wrong otherwise.
std::optional<QueryOptions> parseQueryOptions(const std::vector<std::string>& args,
                                              std::string& error);

std::string queryUsage(const std::string& program);

}  // namespace korvane::query
