// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's time service, asked to set the clock when this process may not set it itself.
#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace korvane::platform {

class TimeService {
 public:
  virtual ~TimeService() = default;
  // Sets the clock to microseconds since 1970 UTC, or moves it by them when relative. A refusal
  // carries its reason in plain words; with no service to ask, it is directRefusal.
  virtual ClockResult setTime(int64_t microseconds, bool relative,
                              const ClockResult& directRefusal) = 0;
  // The same request, answered through done once the service answers; done is never called
  // once the service is gone.
  virtual void setTimeThen(int64_t microseconds, bool relative, const ClockResult& directRefusal,
                           SystemClock::ClockAnswer done) {
    done(setTime(microseconds, relative, directRefusal));
  }
};

// What a time service's error answer means to the user; directRefusal stands when the answer
// only says that there is no such service.
ClockResult timeServiceRefusal(const std::string& errorName, const std::string& message,
                               const ClockResult& directRefusal);

}  // namespace korvane::platform
