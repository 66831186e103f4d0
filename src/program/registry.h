// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings store's text-in, text-out access to the registry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/registry.h"

namespace korvane::program {

// Bytes of the name and data buffers a value is read with, NUL included.
constexpr size_t kRegBufferBytes = 255;

// A full key path split into its root handle (0 when unknown) and the path below it.
struct KeyPath {
  platform::HKey root = 0;
  std::string subPath;
};

class Registry {
 public:
  Registry(platform::RegistryStore& store, platform::MessageBoxes& boxes,
           const platform::SystemClock& clock)
      : store_(store), boxes_(boxes), clock_(clock) {}

  // Sets a REG_SZ value, creating the key; true when the value was set.
  bool WriteString(platform::HKey root, std::string_view subKey, std::string_view name,
                   std::string_view text);
  // A value under HKEY_LOCAL_MACHINE, matched exactly by name; empty when absent.
  std::string ReadString(std::string_view subKey, std::string_view name);
  // Deletes a value; the registry's result code (0 = success).
  int32_t DeleteValue(platform::HKey root, std::string_view subKey, std::string_view name);
  // Creates the key of a full path such as "HKEY_LOCAL_MACHINE\Software\Korvane".
  void CreateKeyPath(std::string_view fullPath);
  // Splits a full path; a malformed one is reported in a message box and gives root 0.
  KeyPath SplitKeyPath(std::string_view fullPath);
  // The predefined root of a name, exactly as spelt; 0 for any other text.
  static platform::HKey RootKeyByName(std::string_view name);
  // The local time now.
  platform::SystemTime LocalTimeNow() const { return clock_.localTime(); }

 private:
  platform::RegistryStore& store_;
  platform::MessageBoxes& boxes_;
  const platform::SystemClock& clock_;
};

}  // namespace korvane::program
