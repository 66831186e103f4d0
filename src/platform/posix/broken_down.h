// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Civil date-times to and from the C library's broken-down time.
#include <ctime>

#include "common/ole_date.h"

namespace korvane::platform {

// The broken-down time of a civil date and time; the library works out daylight time.
inline std::tm brokenDownOf(const CivilDateTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  return tm;
}

// The civil date and time of a broken-down time, to the whole second.
inline CivilDateTime civilOf(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
}

}  // namespace korvane::platform
