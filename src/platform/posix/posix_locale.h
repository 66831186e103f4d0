#pragma once
// The system locale's date and time formats through the C library (LC_TIME), for programs
// without a toolkit. Two-digit years fall in 1950-2049, as on the desktop backend.
#include "platform/locale.h"

namespace korvane::platform {

class PosixLocale : public Locale {
 public:
  std::string longTime(const CivilDateTime& t) const override;
  std::string generalDate(const CivilDateTime& t) const override;
  int fullYear(int twoDigitYear) const override;
  // The text in the locale's date-and-time format, or its date format then its time format.
  std::optional<CivilDateTime> parseDateTime(std::string_view text) const override;
};

}  // namespace korvane::platform
