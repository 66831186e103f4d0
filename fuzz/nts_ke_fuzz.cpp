// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an NTS key establishment response: nothing crashes, a complete response keeps at
// most eight cookies of a sensible size, a refusal says why, and a complete response cut by one
// byte is still waiting for its end.
#include <cstdint>
#include <vector>

#include "fuzz_require.h"
#include "sync/nts_records.h"

using namespace korvane;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const sync::NtsKeParse parsed = sync::parseNtsKeResponse(bytes);
  if (parsed.state == sync::NtsKeParse::State::Failed) {
    require(!parsed.why.empty(), "a refusal without a reason");
    return 0;
  }
  if (parsed.state != sync::NtsKeParse::State::Complete) return 0;
  const auto& cookies = parsed.response.cookies;
  require(!cookies.empty() && cookies.size() <= sync::ntske::kMaxCookies, "a cookie count");
  for (const auto& c : cookies)
    require(!c.empty() && c.size() <= sync::ntske::kMaxCookie, "a cookie's size");
  require(parsed.response.port >= 0 && parsed.response.port <= 0xffff, "a port");
  const auto cut = sync::parseNtsKeResponse(std::span(bytes).first(size - 1));
  require(cut.state == sync::NtsKeParse::State::Incomplete, "a cut response was not waiting");
  return 0;
}
