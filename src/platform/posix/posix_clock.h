#pragma once
// The system clock on POSIX: clock_gettime / clock_settime and the C library's zone data.
#include <cstdint>
#include <memory>

#include "platform/clock.h"

namespace korvane::platform {

class PosixClock : public SystemClock {
 public:
  SystemTime localTime() const override;
  uint32_t tickCount() const override;
  ZoneState timeZoneInformation(TimeZoneInfo& info) const override;
  ClockResult setSystemTime(const SystemTime& utc) override;
  ClockResult setLocalDate(int year, int month, int day) override;
  ClockResult setLocalTimeOfDay(int hour, int minute, int second) override;

 protected:
  // The current UTC time in nanoseconds since 1970.
  virtual int64_t nowUtcNanos() const;
  // Makes the clock read utcNanos now.
  virtual ClockResult applyUtcNanos(int64_t utcNanos);
};

// The clock the program uses: the simulated clock when KORVANE_CLOCK_FILE names a file, else
// the real one.
std::unique_ptr<SystemClock> makeSystemClock();

}  // namespace korvane::platform
