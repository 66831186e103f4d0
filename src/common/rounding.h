// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions of real numbers to integers: nearest, ties to even, with overflow detection.
#include <cstdint>
#include <optional>

namespace korvane {

// x rounded to the nearest integer, halves to the even neighbour.
double roundHalfEven(double x);
// x rounded half-even into a signed 32-bit integer; empty when it does not fit or is not finite.
std::optional<int32_t> toInt32HalfEven(double x);
// The same for 16-bit integers.
std::optional<int16_t> toInt16HalfEven(double x);
// v clamped to the signed 32-bit range: wide sums saturate instead of wrapping.
int32_t saturateToInt32(int64_t v);

}  // namespace korvane
