// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Date values as OLE automation day counts: day 0 is 1899-12-30 00:00, the time of day is the
// fraction, and 1900-01-01 is day 2.
#include <cstdint>

namespace korvane {

using OleDate = double;

struct CivilDateTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

constexpr int64_t kSecondsPerDay = 86400;
// Seconds from 1900-01-01 to 1970-01-01.
constexpr int64_t kSeconds1900To1970 = 2208988800LL;
// OLE day count of 1900-01-01, in seconds (two days).
constexpr int64_t kOle1900InSeconds = 172800;

// Days from 1970-01-01 to the given proleptic Gregorian date.
int64_t daysFromCivil(int year, int month, int day);
// The proleptic Gregorian date of a day count from 1970-01-01.
void civilFromDays(int64_t days, int& year, int& month, int& day);

// Seconds since the OLE epoch (1899-12-30 00:00) of a civil date and time, milliseconds dropped.
int64_t oleSecondsFromCivil(const CivilDateTime& t);
// Milliseconds since the OLE epoch.
int64_t oleMillisFromCivil(const CivilDateTime& t);
CivilDateTime civilFromOleMillis(int64_t millis);

OleDate oleDateFromCivil(const CivilDateTime& t);
// The civil date and time of an OLE date, rounded to the nearest millisecond.
CivilDateTime civilFromOleDate(OleDate d);
// Milliseconds since the OLE epoch of an OLE date, rounded to the nearest millisecond.
int64_t oleMillisFromDate(OleDate d);
OleDate oleDateFromMillis(int64_t millis);

// Day of the week, 0 = Sunday.
int dayOfWeek(int year, int month, int day);
bool isValidCivil(const CivilDateTime& t);

}  // namespace korvane
