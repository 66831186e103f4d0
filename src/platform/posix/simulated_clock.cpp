// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/simulated_clock.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

namespace korvane::platform {

int64_t SimulatedClock::machineNanos() const {
  return PosixClock::nowUtcNanos();
}

int64_t SimulatedClock::offsetMillis() const {
  std::ifstream in(file_);
  long long value = 0;
  if (!(in >> value)) return 0;
  return value;
}

int64_t SimulatedClock::nowUtcNanos() const {
  return machineNanos() + offsetMillis() * 1000000;
}

ClockResult SimulatedClock::applyUtcNanos(int64_t utcNanos) {
  if (refuseDirect_) return {false, std::strerror(EPERM), true};
  const int64_t offsetNanos = utcNanos - machineNanos();
  // The file keeps whole milliseconds: round up, so the clock never reads before what was set
  // (a clock set to a whole second must not read the second before it).
  const int64_t offset =
      offsetNanos >= 0 ? (offsetNanos + 999999) / 1000000 : offsetNanos / 1000000;
  const std::string temp = file_ + ".tmp";
  {
    std::ofstream out(temp, std::ios::trunc);
    out << offset << '\n';
    out.flush();
    if (!out) return {false, "cannot write the simulated clock file " + temp};
  }
  if (std::rename(temp.c_str(), file_.c_str()) != 0)
    return {false, "cannot replace the simulated clock file " + file_};
  return {};
}

}  // namespace korvane::platform
