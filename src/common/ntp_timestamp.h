// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The NTP timestamp (RFC 4330 section 3): 8 bytes, big-endian unsigned 32-bit whole seconds since
// 1900-01-01 00:00 UTC, then a 32-bit fraction of a second in units of 2^-32 s.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvane {

struct NtpTimestamp {
  static constexpr size_t kSize = 8;
  std::array<uint8_t, kSize> bytes{};

  uint32_t seconds() const;
  uint32_t fraction() const;
  bool isZero() const;
  bool operator==(const NtpTimestamp&) const = default;
  static NtpTimestamp fromParts(uint32_t seconds, uint32_t fraction);
  // Reads 8 bytes at offset; empty when they do not all lie inside data.
  static bool readAt(std::span<const uint8_t> data, size_t offset, NtpTimestamp& out);
};

// The count a 32-bit second count on the wire stands for: of all counts that agree with it in
// their low 32 bits, the one nearest reference (RFC 4330 section 3: the era is the one of the
// local clock, so the counts that wrap in 2036 and 2106 keep working).
int64_t nearestEra(uint32_t wireSeconds, int64_t referenceSeconds);

// Milliseconds since 1900-01-01 00:00 UTC of the 8 bytes at offset o (must lie inside data):
// whole seconds (in the era nearest referenceSeconds since 1900) x 1000 plus the fraction x
// 1000 / 2^32.
double ntpMillisNear(std::span<const uint8_t> data, size_t offset, int64_t referenceSeconds);

// Big-endian 32-bit unsigned read; the caller checks the bounds.
uint32_t readBigEndian32(std::span<const uint8_t> data, size_t offset);

}  // namespace korvane
