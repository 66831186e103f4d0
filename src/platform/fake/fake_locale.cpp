// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_locale.h"

#include <cstdio>

namespace korvane::platform {

std::string FakeLocale::longTime(const CivilDateTime& t) const {
  char buf[32];
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", hour12, t.minute, t.second,
                t.hour < 12 ? "AM" : "PM");
  return buf;
}

std::string FakeLocale::generalDate(const CivilDateTime& t) const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d/%d/%d ", t.month, t.day, t.year);
  return buf + longTime(t);
}

int FakeLocale::fullYear(int twoDigitYear) const {
  return twoDigitYear < 50 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

}  // namespace korvane::platform
