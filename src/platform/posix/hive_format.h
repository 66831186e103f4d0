// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hive file: the registry editor's export format, REG_SZ values only.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\Korvane]
//   "Settings"="YES:59:Minutes/s:NA"
//
// Names and texts escape "\" as "\\" and a quote as "\""; "@" names the key's unnamed value;
// lines starting with ";" are comments.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/memory_registry.h"

namespace korvane::platform {

constexpr std::string_view kHiveHeader = "Windows Registry Editor Version 5.00";

// The keys of a hive text; empty when the text is not a hive (error says where and why).
std::optional<std::vector<StoredKey>> parseHive(std::string_view text,
                                                std::string* error = nullptr);
// The hive text of keys; parseHive gives them back unchanged.
std::string formatHive(const std::vector<StoredKey>& keys);
// Whether a key path, name or text can be written to a hive (no line breaks).
bool hiveStorable(std::string_view text);

}  // namespace korvane::platform
