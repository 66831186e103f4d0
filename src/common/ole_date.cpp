// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ole_date.h"

#include <cmath>

namespace korvane {

namespace {
constexpr int64_t kOleEpochDaysFrom1970 = -25569;  // 1899-12-30 relative to 1970-01-01
constexpr int64_t kMillisPerDay = kSecondsPerDay * 1000;

int64_t floorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
}  // namespace

int64_t daysFromCivil(int year, int month, int day) {
  const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
  const int64_t era = floorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t mp = (month + 9) % 12;
  const int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t days, int& year, int& month, int& day) {
  const int64_t z = days + 719468;
  const int64_t era = floorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int64_t oleSecondsFromCivil(const CivilDateTime& t) {
  const int64_t days = daysFromCivil(t.year, t.month, t.day) - kOleEpochDaysFrom1970;
  return days * kSecondsPerDay + t.hour * 3600LL + t.minute * 60LL + t.second;
}

int64_t oleMillisFromCivil(const CivilDateTime& t) {
  return oleSecondsFromCivil(t) * 1000 + t.millisecond;
}

CivilDateTime civilFromOleMillis(int64_t millis) {
  const int64_t days = floorDiv(millis, kMillisPerDay);
  int64_t rest = millis - days * kMillisPerDay;
  CivilDateTime t;
  civilFromDays(days + kOleEpochDaysFrom1970, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600000);
  rest %= 3600000;
  t.minute = static_cast<int>(rest / 60000);
  rest %= 60000;
  t.second = static_cast<int>(rest / 1000);
  t.millisecond = static_cast<int>(rest % 1000);
  return t;
}

// OLE dates before day 0 keep a positive time-of-day fraction: -1.25 is 1899-12-29 06:00.
int64_t oleMillisFromDate(OleDate d) {
  const double whole = std::trunc(d);
  const double fraction = std::fabs(d - whole);
  const int64_t dayMillis = static_cast<int64_t>(whole) * kMillisPerDay;
  return dayMillis + static_cast<int64_t>(std::llround(fraction * kMillisPerDay));
}

OleDate oleDateFromMillis(int64_t millis) {
  const int64_t days = floorDiv(millis, kMillisPerDay);
  const int64_t rest = millis - days * kMillisPerDay;
  const double fraction = static_cast<double>(rest) / kMillisPerDay;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

OleDate oleDateFromCivil(const CivilDateTime& t) {
  return oleDateFromMillis(oleMillisFromCivil(t));
}

CivilDateTime civilFromOleDate(OleDate d) {
  return civilFromOleMillis(oleMillisFromDate(d));
}

int dayOfWeek(int year, int month, int day) {
  const int64_t days = daysFromCivil(year, month, day);  // 1970-01-01 was a Thursday
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

bool isValidCivil(const CivilDateTime& t) {
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
      t.minute > 59 || t.second < 0 || t.second > 60 || t.millisecond < 0 || t.millisecond > 999)
    return false;
  int y, m, d;
  civilFromDays(daysFromCivil(t.year, t.month, t.day), y, m, d);
  return y == t.year && m == t.month && d == t.day;
}

}  // namespace korvane
