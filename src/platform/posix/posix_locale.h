// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system locale's date and time formats through the C library (LC_TIME), for programs
// without a toolkit. Two-digit years fall in 1950-2049, as on the desktop backend.
#include <locale.h>

#include "platform/locale.h"

namespace korvane::platform {

// The user's LC_TIME is loaded on first use only (most runs never need it), and is used without
// changing the process's own locale.
class PosixLocale : public Locale {
 public:
  PosixLocale() = default;
  ~PosixLocale() override;
  PosixLocale(const PosixLocale&) = delete;
  PosixLocale& operator=(const PosixLocale&) = delete;

  std::string longTime(const CivilDateTime& t) const override;
  std::string generalDate(const CivilDateTime& t) const override;
  int fullYear(int twoDigitYear) const override;
  // The text in the locale's date-and-time format, or its date format then its time format.
  std::optional<CivilDateTime> parseDateTime(std::string_view text) const override;
  std::string dayName(int dayOfWeek, bool abbreviated) const override;
  std::string monthName(int month) const override;
  std::string monthAbbreviation(int month) const override;
  std::string timeDesignator(bool afternoon) const override;
  std::string toUpper(std::string_view text) const override;

 private:
  // The user's time formats, as the thread's locale until the guard ends.
  class Using;
  locale_t timeLocale() const;
  locale_t textLocale() const;
  mutable locale_t locale_ = nullptr;
  mutable locale_t textLocale_ = nullptr;
};

}  // namespace korvane::platform
