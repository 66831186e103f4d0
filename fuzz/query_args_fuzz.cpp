// SPDX-License-Identifier: GPL-3.0-or-later
// Any argument list for korvane-query (NUL-separated): nothing crashes, a refusal says why, and
// accepted options are in range and read the same when written back as arguments.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/query/query_options.h"
#include "fuzz_require.h"

using namespace korvane;
using query::QueryOptions;

namespace {

using fuzzing::require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back().push_back(static_cast<char>(data[i]));
  }
  std::string error;
  const auto options = query::parseQueryOptions(args, error);
  if (!options) {
    require(!error.empty(), "a refusal without a reason");
    return 0;
  }
  if (options->action != QueryOptions::Action::Query) return 0;
  require(options->count >= 1 && options->count <= query::kMaxCount, "a count out of range");
  require(!options->host.empty(), "an empty host");
  const std::vector<std::string> written = {"--count", std::to_string(options->count),
                                            "--protocol=" + options->protocolText, "--",
                                            options->host};
  std::string again;
  const auto reread = query::parseQueryOptions(written, again);
  require(reread && reread->action == QueryOptions::Action::Query &&
              reread->protocol == options->protocol && reread->count == options->count &&
              reread->host == options->host,
          "accepted options read differently when written back");
  return 0;
}
