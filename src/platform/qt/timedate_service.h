// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's time service, systemd-timedated, asked over the system D-Bus.
#include <QObject>

#include "platform/time_service.h"

namespace korvane::platform {

class TimedateService : public TimeService {
 public:
  ClockResult setTime(int64_t microseconds, bool relative,
                      const ClockResult& directRefusal) override;
  // Never blocks: the answer comes through the event loop. Calls still pending when the service
  // goes are dropped unanswered, so a shut-down does not wait for them.
  void setTimeThen(int64_t microseconds, bool relative, const ClockResult& directRefusal,
                   SystemClock::ClockAnswer done) override;

 private:
  QObject pending_;  // parent of the watchers of calls not yet answered
};

}  // namespace korvane::platform
