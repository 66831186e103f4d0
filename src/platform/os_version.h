// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operating system's extended version record, as the version identification reads it.
#include <array>
#include <cstdint>

namespace korvane::platform {

// Platform ids of the record.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows = 1;  // the 95 family
constexpr uint32_t kPlatformNT = 2;

// Product types of the record.
constexpr uint8_t kProductWorkstation = 1;
constexpr uint8_t kProductDomainController = 2;
constexpr uint8_t kProductServer = 3;

// The ANSI extended version record; its size field must hold kVersionRecordSize on the call.
struct VersionRecord {
  uint32_t size = 0;
  uint32_t majorVersion = 0;
  uint32_t minorVersion = 0;
  uint32_t buildNumber = 0;
  uint32_t platformId = 0;
  std::array<char, 128> servicePack{};  // NUL-terminated when shorter than 128 characters
  uint16_t servicePackMajor = 0;
  uint16_t servicePackMinor = 0;
  uint16_t suiteMask = 0;
  uint8_t productType = 0;
  uint8_t reserved = 0;
};

// Bytes of the record as the system lays it out.
constexpr uint32_t kVersionRecordSize = 156;
static_assert(sizeof(VersionRecord) == kVersionRecordSize);

class OsVersion {
 public:
  virtual ~OsVersion() = default;
  // Fills the record; false when the system has no such record or refuses its size.
  virtual bool GetVersionExA(VersionRecord& record) = 0;
};

}  // namespace korvane::platform
