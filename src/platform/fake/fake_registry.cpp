// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_registry.h"

namespace korvane::platform {

namespace {

std::string fullPath(HKey root, std::string_view subKey) {
  return std::string(kRootKeyNames.at(root - HKEY_CLASSES_ROOT)) + "\\" + std::string(subKey);
}

}  // namespace

void FakeRegistry::put(HKey root, std::string_view subKey, std::string_view name,
                       std::string_view text) {
  const bool refused = refuse_;
  refuse_ = false;
  HKey key = 0;
  if (createKey(root, subKey, KEY_ALL_0x3F, key) == ERROR_SUCCESS) {
    setString(key, name, text);
    closeKey(key);
  }
  refuse_ = refused;
}

const StoredKey* FakeRegistry::stored(HKey root, std::string_view subKey) const {
  const std::string path = fullPath(root, subKey);
  for (const StoredKey& k : keys()) {
    if (sameKeyPath(k.path, path)) return &k;
  }
  return nullptr;
}

std::optional<std::string> FakeRegistry::value(HKey root, std::string_view subKey,
                                               std::string_view name) const {
  if (const StoredKey* k = stored(root, subKey)) {
    for (const RegValue& v : k->values) {
      if (v.name == name) return v.data;
    }
  }
  return std::nullopt;
}

std::vector<std::string> FakeRegistry::names(HKey root, std::string_view subKey) const {
  std::vector<std::string> out;
  if (const StoredKey* k = stored(root, subKey)) {
    for (const RegValue& v : k->values) out.push_back(v.name);
  }
  return out;
}

bool FakeRegistry::keyExists(HKey root, std::string_view subKey) const {
  return stored(root, subKey) != nullptr;
}

}  // namespace korvane::platform
