// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pixel rectangle: left and top inside, right and bottom just outside.
#include <cstdint>

namespace korvane {

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr int32_t width() const { return right - left; }
  constexpr int32_t height() const { return bottom - top; }
  constexpr bool empty() const { return right <= left || bottom <= top; }
  constexpr bool contains(int32_t x, int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  // All four values moved by d (the pressed and lifted picture and caption).
  constexpr Rect movedBy(int32_t d) const { return {left + d, top + d, right + d, bottom + d}; }
  constexpr bool operator==(const Rect&) const = default;
};

}  // namespace korvane
