// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system clock and time zone, as the synchronisation reads and sets them.
#include <cstdint>
#include <functional>
#include <string>

#include "common/ole_date.h"

namespace korvane::platform {

// A broken-down date and time with milliseconds (local or UTC, as the call says).
struct SystemTime {
  int year = 1970;
  int month = 1;      // 1..12
  int dayOfWeek = 0;  // 0 = Sunday
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

// The civil date and time of a clock reading.
inline CivilDateTime civilOf(const SystemTime& t) {
  return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds};
}

// The clock reading of a civil date and time, its day of the week filled in.
inline SystemTime systemTimeOf(const CivilDateTime& c) {
  return {c.year,   c.month,      dayOfWeek(c.year, c.month, c.day), c.day, c.hour, c.minute,
          c.second, c.millisecond};
}

// The time zone record: biases in minutes, UTC = local time + bias.
struct TimeZoneInfo {
  int32_t bias = 0;
  std::string standardName;
  int32_t standardBias = 0;
  std::string daylightName;
  int32_t daylightBias = 0;
};

// Which part of the zone is in force.
enum class ZoneState : int { Unknown = 0, Standard = 1, Daylight = 2, Invalid = -1 };

// The outcome of a request to set the clock; reason is the system's words when refused.
struct ClockResult {
  bool ok = true;
  std::string reason;
  bool notPermitted = false;  // refused because this process may not set the clock
  // The reason where little room is left (the tray's tip): what to do first; empty: the reason.
  std::string brief = {};
};

class SystemClock {
 public:
  virtual ~SystemClock() = default;
  // The current local date and time with milliseconds.
  virtual SystemTime localTime() const = 0;
  // Milliseconds since an arbitrary start, wrapping at 2^32.
  virtual uint32_t tickCount() const = 0;
  // Milliseconds the computer has spent suspended since it started: growing between two reads
  // means it slept in between.
  virtual int64_t suspendedMillis() const { return 0; }
  // Fills the zone record and tells which part of it is in force now.
  virtual ZoneState timeZoneInformation(TimeZoneInfo& info) const = 0;
  // Sets the clock from a UTC date and time (day of week ignored).
  virtual ClockResult setSystemTime(const SystemTime& utc) = 0;
  // Moves the clock by an offset, however long the request takes to reach the clock.
  virtual ClockResult shiftSystemTime(int64_t microseconds) = 0;

  // The same changes, answered through done, perhaps later: the system's time service may ask
  // for a password first, and the program goes on meanwhile. done is never called once the
  // clock is gone.
  using ClockAnswer = std::function<void(const ClockResult&)>;
  virtual void setSystemTimeThen(const SystemTime& utc, ClockAnswer done) {
    done(setSystemTime(utc));
  }
  virtual void shiftSystemTimeThen(int64_t microseconds, ClockAnswer done) {
    done(shiftSystemTime(microseconds));
  }
};

}  // namespace korvane::platform
