// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/ntp_time.h"

#include <algorithm>
#include <cmath>

#include "common/ole_date.h"

namespace korvane::sync {

double mdiv(double a, double m) {
  const double r = a - m * std::floor(a / m);
  return r == 0.0 ? static_cast<double>(kMdivFiller) : r;
}

double GoMilli(std::span<const uint8_t> bytes, size_t offset, int64_t nearSeconds) {
  return ntpMillisNear(bytes, offset, nearSeconds);
}

int64_t localSecondsSince1900(const platform::SystemTime& local) {
  return oleSecondsFromCivil(platform::civilOf(local)) - kOle1900InSeconds;
}

int64_t utcMillisSince1900(const platform::SystemTime& local, int32_t biasSeconds) {
  return (localSecondsSince1900(local) + biasSeconds) * 1000 + local.milliseconds;
}

NtpTimestamp ntpTimestampOf(const platform::SystemTime& local, int32_t biasSeconds) {
  const int64_t seconds = localSecondsSince1900(local) + biasSeconds;
  const double total = static_cast<double>(seconds) * 1000.0 + local.milliseconds;
  NtpTimestamp t;
  double x = std::fmod(total / 1000.0, 4294967296.0);  // NTP era: seconds wrap at 2^32
  if (x < 0) x += 4294967296.0;
  for (int c = 3; c >= 0; --c) {
    const double unit = std::pow(256.0, c);
    const double b = std::floor(x / unit);
    t.bytes[3 - c] = static_cast<uint8_t>(std::clamp(b, 0.0, 255.0));
    x -= b * unit;
  }
  // The fraction, exact to 2^-32 s. Each byte is truncated and a zero byte stays zero: rounding
  // a byte up, or filling a zero one, would move the time by up to 1/256 s.
  const auto fraction = static_cast<uint32_t>(mdiv(total, 1000.0) * 4294967296.0 / 1000.0);
  for (int g = 7; g >= 4; --g) t.bytes[g] = static_cast<uint8_t>(fraction >> (8 * (7 - g)));
  return t;
}

platform::SystemTime systemTimeFromMillisSince1900(int64_t millis) {
  return platform::systemTimeOf(civilFromOleMillis(millis + kOle1900InSeconds * 1000));
}

}  // namespace korvane::sync
