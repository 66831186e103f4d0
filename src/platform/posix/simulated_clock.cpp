// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/simulated_clock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

namespace korvane::platform {

int64_t SimulatedClock::machineNanos() const {
  return PosixClock::nowUtcNanos();
}

int64_t SimulatedClock::offsetMillis() const {
  // Read on every reading of the clock: plain calls, no stream (a stream's set-up was most of
  // the idle program's clock cost).
  const int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char text[64];
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (n <= 0) return 0;
  text[n] = '\0';
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 10);
  if (end == text || errno == ERANGE) return 0;
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
