// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Identifies the running Windows version once at start-up.
#include <string>

#include "platform/os_version.h"

namespace korvane::shell {

// The code sent with the version query when the system is not recognised.
inline constexpr const char* kUnknownWindows = "02UNK";

struct WindowsIdentity {
  std::string code = kUnknownWindows;  // five characters
  bool layeredCapable = false;         // the floating clock may be translucent
};

// The version code and the layered-capable flag. compositing says the window system composites
// translucent windows, which makes any system layered-capable.
WindowsIdentity IdentifyWindows(platform::OsVersion& os, bool compositing);

// The code for one version record (the table of known versions).
WindowsIdentity identifyRecord(const platform::VersionRecord& record);

}  // namespace korvane::shell
