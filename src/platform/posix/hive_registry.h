// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The registry kept in one hive file (see hive_format.h), rewritten atomically on every change.
#include <string>

#include "platform/posix/atomic_file.h"
#include "platform/posix/memory_registry.h"

namespace korvane::platform {

struct HiveOptions {
  std::string path;
  RenameStep rename;  // the commit step of each write; the system's rename when empty
};

class HiveRegistry : public MemoryRegistry {
 public:
  // How the hive file was found at start.
  enum class Start { Missing, Loaded, MovedAside, Unusable };

  explicit HiveRegistry(HiveOptions options);

  Start start() const { return start_; }
  // Where an unparsable hive was moved.
  const std::string& movedAsideTo() const { return movedAsideTo_; }

  static constexpr size_t kMaxHiveBytes = 16u << 20;

 protected:
  RegResult persist() override;
  bool storable(std::string_view text) const override;

 private:
  void load();
  bool moveAside();

  HiveOptions options_;
  Start start_ = Start::Missing;
  std::string movedAsideTo_;
};

// The hive's path: $KORVANE_REGISTRY, else <config home>/korvane/registry.reg, where the config
// home is $XDG_CONFIG_HOME when absolute, else $HOME/.config. Null arguments count as unset.
std::string hivePath(const char* korvaneRegistry, const char* xdgConfigHome, const char* home);
// The XDG autostart entry of the program: <config home>/autostart/korvane.desktop.
std::string autostartEntryPath(const char* xdgConfigHome, const char* home);

}  // namespace korvane::platform
