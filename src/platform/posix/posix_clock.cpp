// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_clock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/posix/broken_down.h"
#include "platform/posix/simulated_clock.h"

namespace korvane::platform {

namespace {

constexpr int64_t kNanosPerSecond = 1000000000LL;

std::tm localBrokenDown(time_t seconds) {
  std::tm tm{};
  localtime_r(&seconds, &tm);
  return tm;
}

int64_t floorDivNanos(int64_t nanos) {
  return nanos / kNanosPerSecond - (nanos % kNanosPerSecond < 0 ? 1 : 0);
}

// Local midday of 1 January or 1 July of a year, broken down with its zone fields.
std::tm probe(int year, int month) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month;
  tm.tm_mday = 1;
  tm.tm_hour = 12;
  tm.tm_isdst = -1;
  return localBrokenDown(mktime(&tm));
}

ClockResult refusedByErrno() {
  const int error = errno;
  return {false, std::strerror(error), error == EPERM};
}

}  // namespace

int64_t PosixClock::nowUtcNanos() const {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<int64_t>(ts.tv_sec) * kNanosPerSecond + ts.tv_nsec;
}

ClockResult PosixClock::applyUtcNanos(int64_t utcNanos) {
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(floorDivNanos(utcNanos));
  ts.tv_nsec = static_cast<long>(utcNanos - static_cast<int64_t>(ts.tv_sec) * kNanosPerSecond);
  if (clock_settime(CLOCK_REALTIME, &ts) != 0) return refusedByErrno();
  return {};
}

void PosixClock::refreshZone() const {
  const char* variable = std::getenv("TZ");
  const uint32_t now = PosixClock::tickCount();
  const std::lock_guard<std::mutex> lock(zoneMutex_);
  // Unset and set to nothing differ: the one reads the system's zone file, the other is UTC.
  const bool sameVariable =
      zoneLooked_ && (variable ? zoneVariable_ == variable : !zoneVariable_.has_value());
  if (sameVariable && now - zoneLookedAtMs_ < 1000) return;
  zoneLooked_ = true;
  zoneVariable_ = variable ? std::optional<std::string>(variable) : std::nullopt;
  zoneLookedAtMs_ = now;
  tzset();
}

SystemTime PosixClock::localTime() const {
  refreshZone();
  const int64_t nanos = nowUtcNanos();
  const int64_t seconds = floorDivNanos(nanos);
  const std::tm tm = localBrokenDown(static_cast<time_t>(seconds));
  SystemTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.dayOfWeek = tm.tm_wday;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.milliseconds = static_cast<int>((nanos - seconds * kNanosPerSecond) / 1000000);
  return t;
}

uint32_t PosixClock::tickCount() const {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000;
  return static_cast<uint32_t>(ms);
}

int64_t PosixClock::suspendedMillis() const {
  timespec boot{};
  timespec monotonic{};
  if (clock_gettime(CLOCK_BOOTTIME, &boot) != 0 || clock_gettime(CLOCK_MONOTONIC, &monotonic) != 0)
    return 0;
  return (static_cast<int64_t>(boot.tv_sec) - monotonic.tv_sec) * 1000 +
         (boot.tv_nsec - monotonic.tv_nsec) / 1000000;
}

ZoneState PosixClock::timeZoneInformation(TimeZoneInfo& info) const {
  refreshZone();
  const std::tm now = localBrokenDown(static_cast<time_t>(floorDivNanos(nowUtcNanos())));
  const int year = now.tm_year + 1900;
  const std::tm january = probe(year, 0);
  const std::tm july = probe(year, 6);
  const bool hasDaylight = january.tm_isdst > 0 || july.tm_isdst > 0;
  const std::tm& standard = january.tm_isdst > 0 ? july : january;
  const std::tm& daylight = january.tm_isdst > 0 ? january : july;
  info.bias = static_cast<int32_t>(-standard.tm_gmtoff / 60);
  info.standardName = standard.tm_zone ? standard.tm_zone : "";
  info.standardBias = 0;
  if (hasDaylight) {
    info.daylightName = daylight.tm_zone ? daylight.tm_zone : "";
    info.daylightBias = static_cast<int32_t>(-(daylight.tm_gmtoff - standard.tm_gmtoff) / 60);
  } else {
    info.daylightName = info.standardName;
    info.daylightBias = 0;
  }
  if (!hasDaylight) {
    // A zone whose offset changed since January (no rules known) still reports the offset now.
    info.bias = static_cast<int32_t>(-now.tm_gmtoff / 60);
    return ZoneState::Unknown;
  }
  return now.tm_isdst > 0 ? ZoneState::Daylight : ZoneState::Standard;
}

namespace {
int64_t utcNanosOf(const SystemTime& utc) {
  std::tm tm = brokenDownOf(civilOf(utc));
  return static_cast<int64_t>(timegm(&tm)) * kNanosPerSecond +
         static_cast<int64_t>(utc.milliseconds) * 1000000;
}
}  // namespace

// The service is asked for a move, not a time: a time to set would be as late as the password
// the service may ask for first.
ClockResult PosixClock::setSystemTime(const SystemTime& utc) {
  const int64_t nanos = utcNanosOf(utc);
  const ClockResult r = applyUtcNanos(nanos);
  if (r.ok || !r.notPermitted || !service_) return r;
  return service_->setTime((nanos - nowUtcNanos()) / 1000, true, r);
}

ClockResult PosixClock::shiftSystemTime(int64_t microseconds) {
  const ClockResult r = applyUtcNanos(nowUtcNanos() + microseconds * 1000);
  if (r.ok || !r.notPermitted || !service_) return r;
  return service_->setTime(microseconds, true, r);
}

void PosixClock::setSystemTimeThen(const SystemTime& utc, ClockAnswer done) {
  const int64_t nanos = utcNanosOf(utc);
  const ClockResult r = applyUtcNanos(nanos);
  if (r.ok || !r.notPermitted || !service_) return done(r);
  service_->setTimeThen((nanos - nowUtcNanos()) / 1000, true, r, std::move(done));
}

void PosixClock::shiftSystemTimeThen(int64_t microseconds, ClockAnswer done) {
  const ClockResult r = applyUtcNanos(nowUtcNanos() + microseconds * 1000);
  if (r.ok || !r.notPermitted || !service_) return done(r);
  service_->setTimeThen(microseconds, true, r, std::move(done));
}

std::unique_ptr<SystemClock> makeSystemClock(TimeService* service) {
  const char* file = std::getenv("KORVANE_CLOCK_FILE");
  const char* refuse = std::getenv("KORVANE_CLOCK_REFUSE_DIRECT");
  if (file && *file)
    return std::make_unique<SimulatedClock>(file, refuse && std::string(refuse) == "1", service);
  return std::make_unique<PosixClock>(service);
}

}  // namespace korvane::platform
