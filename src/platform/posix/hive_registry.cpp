// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/hive_registry.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/posix/hive_format.h"

namespace korvane::platform {

namespace {

bool set(const char* s) {
  return s != nullptr && *s != '\0';
}

std::string configHome(const char* xdgConfigHome, const char* home) {
  if (set(xdgConfigHome) && xdgConfigHome[0] == '/') return xdgConfigHome;
  return std::string(set(home) ? home : "") + "/.config";
}

std::string timeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &tm);
  return text;
}

}  // namespace

std::string hivePath(const char* korvaneRegistry, const char* xdgConfigHome, const char* home) {
  if (set(korvaneRegistry)) return korvaneRegistry;
  return configHome(xdgConfigHome, home) + "/korvane/registry.reg";
}

std::string autostartEntryPath(const char* xdgConfigHome, const char* home) {
  return configHome(xdgConfigHome, home) + "/autostart/korvane.desktop";
}

HiveRegistry::HiveRegistry(HiveOptions options) : options_(std::move(options)) {
  load();
}

void HiveRegistry::load() {
  removeStaleTemporaries(options_.path);
  const FileRead read = readFileBytes(options_.path, kMaxHiveBytes + 1);
  if (read.missing) {
    start_ = Start::Missing;
    return;
  }
  if (read.bytes && read.bytes->size() <= kMaxHiveBytes) {
    if (auto keys = parseHive(*read.bytes)) {
      replaceKeys(std::move(*keys));
      start_ = Start::Loaded;
      return;
    }
  }
  // Never overwrite what cannot be read: keep it aside and start afresh, or write nothing.
  if (read.bytes && moveAside()) {
    start_ = Start::MovedAside;
  } else {
    start_ = Start::Unusable;
  }
}

bool HiveRegistry::moveAside() {
  const std::string base = options_.path + ".corrupt-" + timeStamp();
  for (int n = 0; n < 100; ++n) {
    const std::string target = n == 0 ? base : base + "-" + std::to_string(n);
    if (::access(target.c_str(), F_OK) == 0) continue;
    if (std::rename(options_.path.c_str(), target.c_str()) != 0) return false;
    movedAsideTo_ = target;
    return true;
  }
  return false;
}

RegResult HiveRegistry::persist() {
  if (start_ == Start::Unusable) return ERROR_ACCESS_DENIED;
  return writeFileAtomically(options_.path, formatHive(keys()), 0600, options_.rename)
             ? ERROR_SUCCESS
             : ERROR_WRITE_FAULT;
}

bool HiveRegistry::storable(std::string_view text) const {
  return hiveStorable(text);
}

}  // namespace korvane::platform
