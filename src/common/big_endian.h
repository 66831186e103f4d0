// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 16-bit big-endian fields of the wire formats (network byte order).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvane {

// The 16-bit field at `at`; the caller has checked that two bytes lie there.
inline uint16_t readBigEndian16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

// Appends the low 16 bits of v.
inline void appendBigEndian16(std::vector<uint8_t>& out, size_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

}  // namespace korvane
