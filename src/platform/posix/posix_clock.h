// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system clock on POSIX: clock_gettime / clock_settime and the C library's zone data.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/time_service.h"

namespace korvane::platform {

class PosixClock : public SystemClock {
 public:
  // service: asked when the system refuses this process the change (none: the refusal stands).
  explicit PosixClock(TimeService* service = nullptr) : service_(service) {}
  SystemTime localTime() const override;
  uint32_t tickCount() const override;
  // The boot clock less the monotonic clock, which stops while the computer sleeps.
  int64_t suspendedMillis() const override;
  ZoneState timeZoneInformation(TimeZoneInfo& info) const override;
  ClockResult setSystemTime(const SystemTime& utc) override;
  ClockResult shiftSystemTime(int64_t microseconds) override;
  void setSystemTimeThen(const SystemTime& utc, ClockAnswer done) override;
  void shiftSystemTimeThen(int64_t microseconds, ClockAnswer done) override;

 protected:
  // The current UTC time in nanoseconds since 1970.
  virtual int64_t nowUtcNanos() const;
  // Makes the clock read utcNanos now.
  virtual ClockResult applyUtcNanos(int64_t utcNanos);

 private:
  // Has the C library look at the zone again: at once when TZ changed, else at most once a
  // second (each look re-reads the zone file's status).
  void refreshZone() const;

  TimeService* service_;
  mutable std::mutex zoneMutex_;
  mutable bool zoneLooked_ = false;
  mutable std::optional<std::string> zoneVariable_;  // TZ at the last look (nullopt: unset)
  mutable uint32_t zoneLookedAtMs_ = 0;              // the tick count then (wraps)
};

// The clock the program uses: the simulated clock when KORVANE_CLOCK_FILE names a file (refusing
// direct setting, as an unprivileged process is refused, when KORVANE_CLOCK_REFUSE_DIRECT is 1),
// else the real one; either asks the time service when refused.
std::unique_ptr<SystemClock> makeSystemClock(TimeService* service = nullptr);

}  // namespace korvane::platform
