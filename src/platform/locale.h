// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's date and time formats and its date-time parser.
#include <optional>
#include <string>
#include <string_view>

#include "common/ole_date.h"
#include "common/text.h"

namespace korvane::platform {

class Locale {
 public:
  virtual ~Locale() = default;
  // The time of day in the system's long time format.
  virtual std::string longTime(const CivilDateTime& t) const = 0;
  // The date in the system's long date format; "Monday, December 7, 2026" where a backend
  // knows no other.
  virtual std::string longDate(const CivilDateTime& t) const {
    return dayName(dayOfWeek(t.year, t.month, t.day), false) + ", " + monthName(t.month) + " " +
           std::to_string(t.day) + ", " + std::to_string(t.year);
  }
  // Date and time in the system's general date format (short date and long time).
  virtual std::string generalDate(const CivilDateTime& t) const = 0;
  // The full year of a two-digit year through the system's two-digit-year window.
  virtual int fullYear(int twoDigitYear) const = 0;
  // A date-time text in the system's own formats, read as UTC; empty when it is not one.
  virtual std::optional<CivilDateTime> parseDateTime(std::string_view text) const = 0;
  // The weekday's name (0 = Sunday), abbreviated or full; English unless a backend knows better.
  virtual std::string dayName(int dayOfWeek, bool abbreviated) const {
    static const char* const kFull[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    const std::string full = kFull[((dayOfWeek % 7) + 7) % 7];
    return abbreviated ? full.substr(0, 3) : full;
  }
  // Capitals of a UTF-8 text by the locale's own rules; plain ASCII where a backend knows none.
  virtual std::string toUpper(std::string_view text) const { return text::toUpper(text); }
  // The month's full name (1 = January).
  virtual std::string monthName(int month) const {
    static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    return kMonths[((month - 1) % 12 + 12) % 12];
  }
  // The month's abbreviated name (format "mmm").
  virtual std::string monthAbbreviation(int month) const { return monthName(month).substr(0, 3); }
  // The system's designator of times before or after noon (format "AMPM").
  virtual std::string timeDesignator(bool afternoon) const { return afternoon ? "PM" : "AM"; }
};

}  // namespace korvane::platform
