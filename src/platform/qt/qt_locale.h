// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/locale.h"

namespace korvane::platform {

// The system locale's formats through QLocale; two-digit years fall in 1950-2049.
class QtLocale : public Locale {
 public:
  std::string longTime(const CivilDateTime& t) const override;
  std::string generalDate(const CivilDateTime& t) const override;
  int fullYear(int twoDigitYear) const override;
  std::optional<CivilDateTime> parseDateTime(std::string_view text) const override;
  std::string dayName(int dayOfWeek, bool abbreviated) const override;
  std::string monthName(int month) const override;
  std::string monthAbbreviation(int month) const override;
  std::string timeDesignator(bool afternoon) const override;
  std::string toUpper(std::string_view text) const override;
};

}  // namespace korvane::platform
