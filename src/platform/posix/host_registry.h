// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two places where the registry reflects the host system instead of the hive:
//  - HKLM\SYSTEM\CurrentControlSet\Control\TimeZoneInformation: "StandardName" and
//    "DaylightName" from the C library's zone names, read-only;
//  - HKLM\SOFTWARE\MICROSOFT\WINDOWS\CURRENTVERSION\RUN: the value "Korvane" is the XDG
//    autostart entry, whose Exec= line holds the value's text.
// Every other key goes to the inner store.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/registry.h"

namespace korvane::platform {

class HostMappedRegistry : public RegistryStore {
 public:
  HostMappedRegistry(RegistryStore& inner, const SystemClock& clock, std::string autostartEntry);

  RegResult createKey(HKey key, std::string_view subKey, uint32_t access, HKey& opened) override;
  RegResult openKey(HKey key, std::string_view subKey, uint32_t access, HKey& opened) override;
  RegResult closeKey(HKey key) override;
  RegResult setString(HKey key, std::string_view name, std::string_view text) override;
  RegResult enumValue(HKey key, uint32_t index, size_t nameCapacity, size_t dataCapacity,
                      RegValue& value) override;
  RegResult deleteValue(HKey key, std::string_view name) override;

 private:
  enum class Kind { TimeZone, Run };
  struct Mapped {
    Kind kind;
    uint32_t access;
  };
  bool mapped(HKey key, std::string_view subKey, Kind& kind) const;
  HKey openMapped(Kind kind, uint32_t access);
  std::vector<RegValue> values(Kind kind) const;

  RegistryStore& inner_;
  const SystemClock& clock_;
  std::string autostartEntry_;
  std::map<HKey, Mapped> handles_;
  HKey next_ = 0x40000000u;
};

// The autostart entry text that runs program, and the program an entry runs (empty if none).
std::string autostartEntryText(std::string_view program);
std::string programOfAutostartEntry(std::string_view entry);

// The program's registry: the hive at its XDG path (or $KORVANE_REGISTRY) with the host values.
std::unique_ptr<RegistryStore> makeRegistry(const SystemClock& clock);

}  // namespace korvane::platform
