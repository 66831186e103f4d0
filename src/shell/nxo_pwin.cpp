// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/nxo_pwin.h"

#include <cstring>
#include <string_view>

#include "common/text.h"

namespace korvane::shell {
namespace {

using platform::VersionRecord;

// The service-pack text ends at its first NUL or after 128 characters, whichever comes first.
bool servicePackHas(const VersionRecord& r, char letter) {
  const auto* end =
      static_cast<const char*>(std::memchr(r.servicePack.data(), '\0', r.servicePack.size()));
  const size_t length = end ? size_t(end - r.servicePack.data()) : r.servicePack.size();
  const std::string upper = text::toUpper(std::string_view(r.servicePack.data(), length));
  return upper.find(letter) != std::string::npos;
}

const char* windows95Family(const VersionRecord& r) {
  switch (r.minorVersion) {
    case 0:
      return servicePackHas(r, 'C') ? "95OS2" : "WIN95";
    case 10:
      return servicePackHas(r, 'A') ? "98SEC" : "WIN98";
    case 90:
      return "WINME";
    default:
      return nullptr;
  }
}

const char* nt3(const VersionRecord& r) {
  switch (r.minorVersion) {
    case 0:
      return "NTV30";
    case 1:
      return "NTV31";
    case 5:
      return "NTV35";
    case 51:
      return "NT351";
    default:
      return nullptr;
  }
}

const char* windows2000(const VersionRecord& r) {
  if (r.productType == platform::kProductWorkstation) return "00PRO";
  if (r.productType != platform::kProductServer) return nullptr;
  if (r.suiteMask == 2) return "00ADV";
  if (r.suiteMask == 128) return "00DCE";
  return "00SVR";
}

constexpr uint16_t kPersonalSuite = 0x200;

const char* windowsXP(const VersionRecord& r) {
  if (r.productType == platform::kProductWorkstation) {
    return (r.suiteMask & kPersonalSuite) ? "XPHOM" : "XPPRO";
  }
  return r.suiteMask == 2 ? "XPNET" : "XPSVR";
}

}  // namespace

WindowsIdentity identifyRecord(const VersionRecord& r) {
  WindowsIdentity id;
  const char* code = nullptr;
  switch (r.platformId) {
    case platform::kPlatformWin32s:
      code = "win31";
      break;
    case platform::kPlatformWindows:
      code = windows95Family(r);
      break;
    case platform::kPlatformNT:
      if (r.majorVersion == 3) code = nt3(r);
      if (r.majorVersion == 4) code = "NTV40";
      if (r.majorVersion == 5 && (r.minorVersion == 0 || r.minorVersion == 1)) {
        code = r.minorVersion == 0 ? windows2000(r) : windowsXP(r);
        id.layeredCapable = true;
      }
      break;
    default:
      break;
  }
  if (code) id.code = code;
  return id;
}

WindowsIdentity IdentifyWindows(platform::OsVersion& os, bool compositing) {
  platform::VersionRecord record{};
  record.size = platform::kVersionRecordSize;
  WindowsIdentity id;
  if (os.GetVersionExA(record)) id = identifyRecord(record);
  if (compositing) id.layeredCapable = true;
  return id;
}

}  // namespace korvane::shell
