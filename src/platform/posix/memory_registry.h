// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys and their REG_SZ values held in memory, with handles and access checks; the hive file
// and the test double keep their values in it.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace korvane::platform {

// A key by its full path ("HKEY_LOCAL_MACHINE\Software\Korvane") and its values in creation order.
struct StoredKey {
  std::string path;
  std::vector<RegValue> values;
  bool operator==(const StoredKey&) const = default;
};

class MemoryRegistry : public RegistryStore {
 public:
  RegResult createKey(HKey key, std::string_view subKey, uint32_t access, HKey& opened) override;
  RegResult openKey(HKey key, std::string_view subKey, uint32_t access, HKey& opened) override;
  RegResult closeKey(HKey key) override;
  RegResult setString(HKey key, std::string_view name, std::string_view text) override;
  RegResult enumValue(HKey key, uint32_t index, size_t nameCapacity, size_t dataCapacity,
                      RegValue& value) override;
  RegResult deleteValue(HKey key, std::string_view name) override;

  // Every key in creation order.
  const std::vector<StoredKey>& keys() const { return keys_; }
  size_t openHandleCount() const { return handles_.size(); }

 protected:
  // Replaces every key (a load); open handles stay valid.
  void replaceKeys(std::vector<StoredKey> keys) { keys_ = std::move(keys); }
  // Saves the keys after a change; a failure undoes the change and is returned.
  virtual RegResult persist() { return ERROR_SUCCESS; }
  // Whether a name or text can be stored at all.
  virtual bool storable(std::string_view) const { return true; }

 private:
  struct Handle {
    std::string path;
    uint32_t access = 0;
  };
  // The full path of subKey under key, or empty when key is no valid handle.
  std::string resolve(HKey key, std::string_view subKey) const;
  const Handle* handle(HKey key) const;
  StoredKey* find(std::string_view path);
  bool exists(std::string_view path) const;
  HKey open(const std::string& path, uint32_t access);
  RegResult commitOrUndo(std::vector<StoredKey> before);

  std::vector<StoredKey> keys_;
  std::map<HKey, Handle> handles_;
  HKey next_ = 0x100;
};

// Key names compare without regard to ASCII letter case, as the registry compares them.
bool sameKeyPath(std::string_view a, std::string_view b);

}  // namespace korvane::platform
