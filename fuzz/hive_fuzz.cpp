// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a hive file: nothing crashes, and a hive that loads is written back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/posix/hive_format.h"

using namespace korvane::platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto keys = parseHive(text);
  if (!keys) return 0;
  const auto again = parseHive(formatHive(*keys));
  if (!again || *again != *keys) std::abort();
  return 0;
}
