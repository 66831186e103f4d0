// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions between the local clock and NTP timestamps, and the program's modulo.
#include <cstdint>
#include <span>

#include "common/ntp_timestamp.h"
#include "platform/clock.h"

namespace korvane::sync {

// The filler that replaces a modulo result of exactly 0.
constexpr float kMdivFiller = 1.0f;

// a - m * floor(a / m), with a result of exactly 0 replaced by the filler.
double mdiv(double a, double m);

// Milliseconds since 1900-01-01 UTC of the 8 bytes at offset o, in the NTP era nearest
// nearSeconds (seconds since 1900, the local clock's).
double GoMilli(std::span<const uint8_t> bytes, size_t offset, int64_t nearSeconds);

// The NTP timestamp of a local clock reading, bias seconds (UTC = local + bias).
NtpTimestamp ntpTimestampOf(const platform::SystemTime& local, int32_t biasSeconds);

// Whole seconds from 1900-01-01 00:00 to a local clock reading (milliseconds dropped).
int64_t localSecondsSince1900(const platform::SystemTime& local);

// Milliseconds since 1900-01-01 00:00 UTC of a local clock reading.
int64_t utcMillisSince1900(const platform::SystemTime& local, int32_t biasSeconds);

// The UTC date and time of a count of milliseconds since 1900-01-01 00:00.
platform::SystemTime systemTimeFromMillisSince1900(int64_t millis);

}  // namespace korvane::sync
