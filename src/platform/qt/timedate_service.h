#pragma once
// The system's time service, systemd-timedated, asked over the system D-Bus.
#include "platform/time_service.h"

namespace korvane::platform {

class TimedateService : public TimeService {
 public:
  ClockResult setTime(int64_t microseconds, bool relative,
                      const ClockResult& directRefusal) override;
};

}  // namespace korvane::platform
