// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The registry in memory, with controls for tests: seed values, read them back, refuse writes.
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/memory_registry.h"

namespace korvane::platform {

class FakeRegistry : public MemoryRegistry {
 public:
  // Stores a value directly, creating its key.
  void put(HKey root, std::string_view subKey, std::string_view name, std::string_view text);
  // A value as stored, empty when absent.
  std::optional<std::string> value(HKey root, std::string_view subKey, std::string_view name) const;
  // The value names of a key in enumeration order.
  std::vector<std::string> names(HKey root, std::string_view subKey) const;
  bool keyExists(HKey root, std::string_view subKey) const;
  // Every change fails with ERROR_ACCESS_DENIED, as without write access to the machine's key.
  void refuseWrites(bool on) { refuse_ = on; }

 protected:
  RegResult persist() override { return refuse_ ? ERROR_ACCESS_DENIED : ERROR_SUCCESS; }

 private:
  const StoredKey* stored(HKey root, std::string_view subKey) const;
  bool refuse_ = false;
};

// A fake registry that logs every write and delete in order: "Name=text" or "delete Name".
class LoggingRegistry : public FakeRegistry {
 public:
  RegResult setString(HKey key, std::string_view name, std::string_view text) override {
    log.push_back(std::string(name) + "=" + std::string(text));
    return FakeRegistry::setString(key, name, text);
  }
  RegResult deleteValue(HKey key, std::string_view name) override {
    log.push_back("delete " + std::string(name));
    return FakeRegistry::deleteValue(key, name);
  }
  std::vector<std::string> log;
};

}  // namespace korvane::platform
