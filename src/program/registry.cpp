// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/registry.h"

#include <algorithm>

#include "common/text.h"
#include "program/program.h"

namespace korvane::program {

using namespace platform;

namespace {

// An enumeration never runs past this many values, whatever a store reports.
constexpr uint32_t kMaxEnumeratedValues = 1u << 20;

}  // namespace

bool Registry::WriteString(HKey root, std::string_view subKey, std::string_view name,
                           std::string_view text) {
  HKey key = 0;
  store_.createKey(root, subKey, KEY_ALL_0x3F, key);
  const bool ok = store_.setString(key, name, text) == ERROR_SUCCESS;
  if (key != 0) store_.closeKey(key);
  return ok;
}

std::string Registry::ReadString(std::string_view subKey, std::string_view name) {
  HKey key = 0;
  if (store_.openKey(HKEY_LOCAL_MACHINE, subKey, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) {
    return {};
  }
  std::string kept;
  for (uint32_t index = 0; index < kMaxEnumeratedValues; ++index) {
    RegValue value;
    const RegResult r = store_.enumValue(key, index, kRegBufferBytes, kRegBufferBytes, value);
    // A value too long for the buffers is passed over, not taken as the end: the values
    // after it must still be found.
    if (r == ERROR_MORE_DATA) continue;
    if (r != ERROR_SUCCESS) break;
    if (value.name == name) kept = value.data;
  }
  store_.closeKey(key);
  return kept;
}

int32_t Registry::DeleteValue(HKey root, std::string_view subKey, std::string_view name) {
  HKey key = 0;
  const RegResult opened = store_.openKey(root, subKey, KEY_ALL_0x3F, key);
  if (opened != ERROR_SUCCESS) return opened;
  const RegResult deleted = store_.deleteValue(key, name);
  store_.closeKey(key);
  return deleted;
}

void Registry::CreateKeyPath(std::string_view fullPath) {
  const KeyPath path = SplitKeyPath(fullPath);
  if (path.root == 0) return;
  HKey key = 0;
  if (store_.createKey(path.root, path.subPath, KEY_ALL_0x3F, key) == ERROR_SUCCESS) {
    store_.closeKey(key);
  }
}

KeyPath Registry::SplitKeyPath(std::string_view fullPath) {
  if (fullPath.substr(0, 5) != "HKEY_" || fullPath.back() == '\\') {
    boxes_.show("Incorrect Format:\n\n" + std::string(fullPath), std::string(kMessageTitle),
                MsgButtons::OK, MsgIcon::None);
    return {0, std::string(fullPath)};
  }
  const long slash = text::instr(fullPath, "\\");
  if (slash == 0) return {RootKeyByName(fullPath), ""};
  return {RootKeyByName(text::left(fullPath, slash - 1)), text::mid(fullPath, slash + 1)};
}

HKey Registry::RootKeyByName(std::string_view name) {
  const auto it = std::find(kRootKeyNames.begin(), kRootKeyNames.end(), name);
  if (it == kRootKeyNames.end()) return 0;
  return HKEY_CLASSES_ROOT + static_cast<HKey>(it - kRootKeyNames.begin());
}

}  // namespace korvane::program
