// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The version record on POSIX systems: there is no Windows here, so the call always fails.
#include "platform/os_version.h"

namespace korvane::platform {

class PosixOsVersion : public OsVersion {
 public:
  bool GetVersionExA(VersionRecord&) override { return false; }
};

}  // namespace korvane::platform
