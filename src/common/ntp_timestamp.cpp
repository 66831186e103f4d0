// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ntp_timestamp.h"

namespace korvane {

uint32_t readBigEndian32(std::span<const uint8_t> data, size_t offset) {
  return (uint32_t{data[offset]} << 24) | (uint32_t{data[offset + 1]} << 16) |
         (uint32_t{data[offset + 2]} << 8) | uint32_t{data[offset + 3]};
}

uint32_t NtpTimestamp::seconds() const {
  return readBigEndian32(bytes, 0);
}
uint32_t NtpTimestamp::fraction() const {
  return readBigEndian32(bytes, 4);
}

bool NtpTimestamp::isZero() const {
  for (uint8_t b : bytes)
    if (b) return false;
  return true;
}

NtpTimestamp NtpTimestamp::fromParts(uint32_t seconds, uint32_t fraction) {
  NtpTimestamp t;
  for (int i = 0; i < 4; ++i) {
    t.bytes[i] = static_cast<uint8_t>(seconds >> (24 - 8 * i));
    t.bytes[4 + i] = static_cast<uint8_t>(fraction >> (24 - 8 * i));
  }
  return t;
}

bool NtpTimestamp::readAt(std::span<const uint8_t> data, size_t offset, NtpTimestamp& out) {
  if (offset > data.size() || data.size() - offset < kSize) return false;
  for (size_t i = 0; i < kSize; ++i) out.bytes[i] = data[offset + i];
  return true;
}

int64_t nearestEra(uint32_t wireSeconds, int64_t referenceSeconds) {
  // The distance in the low 32 bits, read as signed: at most 2^31 either way.
  const auto step = static_cast<int32_t>(wireSeconds - static_cast<uint32_t>(referenceSeconds));
  return referenceSeconds + step;
}

double ntpMillisNear(std::span<const uint8_t> data, size_t offset, int64_t referenceSeconds) {
  const double whole =
      static_cast<double>(nearestEra(readBigEndian32(data, offset), referenceSeconds));
  const double fraction = readBigEndian32(data, offset + 4);
  return fraction * 1000.0 / 4294967296.0 + whole * 1000.0;
}

}  // namespace korvane
