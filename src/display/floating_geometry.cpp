// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/floating_geometry.h"

#include <algorithm>

#include "common/rounding.h"

namespace korvane::display {

FloatingSize SkinnedFloatingSize(int cells, GlyphCell cell, int drawLeft, const Rect& icon,
                                 int twipsPerPixel) {
  FloatingSize size;
  size.drawWidth = std::max(cells, 0) * std::max(cell.width, 0) * twipsPerPixel;
  size.drawHeight = std::max(cell.height, 0) * twipsPerPixel;
  size.windowHeight = std::max(size.drawHeight, icon.bottom) + 15;
  size.windowWidth = std::max(drawLeft + size.drawWidth, icon.right) + 5 * twipsPerPixel;
  return size;
}

std::optional<Extent> FontFloatingSize(const Rect& label, int windowHeight) {
  if (label.bottom == windowHeight) return std::nullopt;
  return Extent{label.right + 3, label.bottom + 13};
}

Position FloatingStartPosition(int savedX, int savedY, int windowWidth, int designTop,
                               int screenRight, int twipsPerPixel) {
  if (savedX < 0 || savedY < 0) return {screenRight - (windowWidth + kFloatingRightGap), designTop};
  return {savedX * twipsPerPixel, savedY * twipsPerPixel};
}

std::optional<int> DockedFloatingLeft(const Position& window, int windowWidth, const Rect& screen) {
  if (window.top - screen.top >= kFloatingDockTop) return std::nullopt;
  if (window.left < screen.right - (windowWidth + kFloatingDockReach)) return std::nullopt;
  const int left = screen.right - (windowWidth + kFloatingRightGap);
  if (left == window.left) return std::nullopt;
  return left;
}

std::optional<Position> MovedFloatingPosition(const Position& window, int twipsPerPixel,
                                              int storedX, int storedY) {
  const double tpp = twipsPerPixel > 0 ? twipsPerPixel : 15;
  const Position now{static_cast<int>(roundHalfEven(window.left / tpp)),
                     static_cast<int>(roundHalfEven(window.top / tpp))};
  if (now.left == storedX && now.top == storedY) return std::nullopt;
  return now;
}

}  // namespace korvane::display
