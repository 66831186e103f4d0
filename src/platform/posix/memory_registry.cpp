// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/memory_registry.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace korvane::platform {

namespace {

char lowerAscii(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string_view beforeNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// Components of a sub-key path; empty components (doubled or edge backslashes) are skipped.
std::string appendSubKey(std::string path, std::string_view subKey) {
  size_t start = 0;
  while (start <= subKey.size()) {
    size_t end = subKey.find('\\', start);
    if (end == std::string_view::npos) end = subKey.size();
    if (end > start) path += "\\" + std::string(subKey.substr(start, end - start));
    start = end + 1;
  }
  return path;
}

}  // namespace

bool sameKeyPath(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

const MemoryRegistry::Handle* MemoryRegistry::handle(HKey key) const {
  auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : &it->second;
}

std::string MemoryRegistry::resolve(HKey key, std::string_view subKey) const {
  std::string base;
  if (isRootKey(key)) {
    base = std::string(kRootKeyNames[key - HKEY_CLASSES_ROOT]);
  } else if (const Handle* h = handle(key)) {
    base = h->path;
  } else {
    return {};
  }
  return appendSubKey(std::move(base), beforeNul(subKey));
}

StoredKey* MemoryRegistry::find(std::string_view path) {
  for (StoredKey& k : keys_) {
    if (sameKeyPath(k.path, path)) return &k;
  }
  return nullptr;
}

bool MemoryRegistry::exists(std::string_view path) const {
  if (path.find('\\') == std::string_view::npos) return true;  // a root
  for (const StoredKey& k : keys_) {
    if (sameKeyPath(k.path, path)) return true;
    // A key with sub-keys exists even when it was never created by itself.
    if (k.path.size() > path.size() && k.path[path.size()] == '\\' &&
        sameKeyPath(std::string_view(k.path).substr(0, path.size()), path)) {
      return true;
    }
  }
  return false;
}

HKey MemoryRegistry::open(const std::string& path, uint32_t access) {
  while (handles_.count(next_) != 0 || isRootKey(next_) || next_ == 0) ++next_;
  handles_[next_] = {path, access};
  return next_++;
}

RegResult MemoryRegistry::commitOrUndo(std::vector<StoredKey> before) {
  const RegResult r = persist();
  if (r != ERROR_SUCCESS) keys_ = std::move(before);
  return r;
}

RegResult MemoryRegistry::createKey(HKey key, std::string_view subKey, uint32_t access,
                                    HKey& opened) {
  opened = 0;
  const std::string path = resolve(key, subKey);
  if (path.empty()) return ERROR_INVALID_HANDLE;
  if (!storable(path)) return ERROR_INVALID_PARAMETER;
  if (path.find('\\') != std::string::npos && find(path) == nullptr) {
    std::vector<StoredKey> before = keys_;
    keys_.push_back({path, {}});
    if (const RegResult r = commitOrUndo(std::move(before)); r != ERROR_SUCCESS) return r;
  }
  opened = open(path, access);
  return ERROR_SUCCESS;
}

RegResult MemoryRegistry::openKey(HKey key, std::string_view subKey, uint32_t access,
                                  HKey& opened) {
  opened = 0;
  const std::string path = resolve(key, subKey);
  if (path.empty()) return ERROR_INVALID_HANDLE;
  if (!exists(path)) return ERROR_FILE_NOT_FOUND;
  opened = open(path, access);
  return ERROR_SUCCESS;
}

RegResult MemoryRegistry::closeKey(HKey key) {
  if (isRootKey(key)) return ERROR_SUCCESS;
  return handles_.erase(key) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

RegResult MemoryRegistry::setString(HKey key, std::string_view name, std::string_view text) {
  const Handle* h = handle(key);
  if (h == nullptr && !isRootKey(key)) return ERROR_INVALID_HANDLE;
  if (h != nullptr && (h->access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  name = beforeNul(name);
  text = beforeNul(text);
  if (!storable(name) || !storable(text)) return ERROR_INVALID_PARAMETER;
  const std::string path = resolve(key, "");
  std::vector<StoredKey> before = keys_;
  StoredKey* k = find(path);
  if (k == nullptr) {
    keys_.push_back({path, {}});
    k = &keys_.back();
  }
  auto it = std::find_if(k->values.begin(), k->values.end(),
                         [&](const RegValue& v) { return v.name == name; });
  if (it != k->values.end()) {
    it->data = std::string(text);
  } else {
    k->values.push_back({std::string(name), std::string(text)});
  }
  return commitOrUndo(std::move(before));
}

RegResult MemoryRegistry::enumValue(HKey key, uint32_t index, size_t nameCapacity,
                                    size_t dataCapacity, RegValue& value) {
  value = {};
  const Handle* h = handle(key);
  if (h == nullptr && !isRootKey(key)) return ERROR_INVALID_HANDLE;
  if (h != nullptr && (h->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const StoredKey* k = find(resolve(key, ""));
  if (k == nullptr || index >= k->values.size()) return ERROR_NO_MORE_ITEMS;
  const RegValue& v = k->values[index];
  if (v.name.size() + 1 > nameCapacity || v.data.size() + 1 > dataCapacity) {
    return ERROR_MORE_DATA;
  }
  value = v;
  return ERROR_SUCCESS;
}

RegResult MemoryRegistry::deleteValue(HKey key, std::string_view name) {
  const Handle* h = handle(key);
  if (h == nullptr && !isRootKey(key)) return ERROR_INVALID_HANDLE;
  if (h != nullptr && (h->access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  StoredKey* k = find(resolve(key, ""));
  if (k == nullptr) return ERROR_FILE_NOT_FOUND;
  auto it = std::find_if(k->values.begin(), k->values.end(),
                         [&](const RegValue& v) { return v.name == name; });
  if (it == k->values.end()) return ERROR_FILE_NOT_FOUND;
  std::vector<StoredKey> before = keys_;
  k->values.erase(it);
  return commitOrUndo(std::move(before));
}

}  // namespace korvane::platform
