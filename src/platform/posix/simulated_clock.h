// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clock for tests and benchmarks: the machine's clock plus an offset kept in a file as a
// signed decimal number of milliseconds. Setting it rewrites the offset; the machine's clock is
// never touched. It can refuse direct setting, as the system refuses an unprivileged process.
#include <string>

#include "platform/posix/posix_clock.h"

namespace korvane::platform {

class SimulatedClock : public PosixClock {
 public:
  explicit SimulatedClock(std::string offsetFile, bool refuseDirect = false,
                          TimeService* service = nullptr)
      : PosixClock(service), file_(std::move(offsetFile)), refuseDirect_(refuseDirect) {}
  // The offset in the file; 0 when the file is missing or does not hold a number.
  int64_t offsetMillis() const;

 protected:
  int64_t nowUtcNanos() const override;
  ClockResult applyUtcNanos(int64_t utcNanos) override;

 private:
  int64_t machineNanos() const;
  std::string file_;
  bool refuseDirect_;
};

}  // namespace korvane::platform
