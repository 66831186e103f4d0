// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/locale.h"

namespace korvane::platform {

// United States formats, the 1950-2049 two-digit-year window, and no locale parse of its own.
class FakeLocale : public Locale {
 public:
  std::string longTime(const CivilDateTime& t) const override;
  std::string generalDate(const CivilDateTime& t) const override;
  int fullYear(int twoDigitYear) const override;
  std::optional<CivilDateTime> parseDateTime(std::string_view) const override {
    return std::nullopt;
  }
};

}  // namespace korvane::platform
