// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvane {

double roundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  const double lower = std::floor(x);
  const double diff = x - lower;
  if (diff < 0.5) return lower;
  if (diff > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::optional<int32_t> toInt32HalfEven(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  const double r = roundHalfEven(x);
  if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  return static_cast<int32_t>(r);
}

std::optional<int16_t> toInt16HalfEven(double x) {
  const auto r = toInt32HalfEven(x);
  if (!r || *r < std::numeric_limits<int16_t>::min() || *r > std::numeric_limits<int16_t>::max())
    return std::nullopt;
  return static_cast<int16_t>(*r);
}

int32_t saturateToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace korvane
