// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A version record that a test sets; the call succeeds only for the expected record size.
#include <string_view>

#include "platform/os_version.h"

namespace korvane::platform {

class FakeOsVersion : public OsVersion {
 public:
  // The record handed out (its size field is ignored).
  VersionRecord record;
  // False makes every call fail.
  bool succeeds = true;
  // The size field of the last call.
  uint32_t sizeAsked = 0;
  int calls = 0;

  void setServicePack(std::string_view text) {
    record.servicePack.fill('\0');
    text.copy(record.servicePack.data(), record.servicePack.size());
  }

  bool GetVersionExA(VersionRecord& out) override {
    ++calls;
    sizeAsked = out.size;
    if (!succeeds || out.size != kVersionRecordSize) return false;
    out = record;
    out.size = kVersionRecordSize;
    return true;
  }
};

}  // namespace korvane::platform
