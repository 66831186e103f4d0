// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floating clock's size and place (twips unless named pixels).
#include <optional>

#include "common/rect.h"
#include "display/skin_cells.h"

namespace korvane::display {

// Distances from the screen's right edge that place and dock the floating clock.
inline constexpr int kFloatingRightGap = 825;
inline constexpr int kFloatingDockReach = 925;
inline constexpr int kFloatingDockTop = 1000;

// The skinned clock after a drawing of `cells` cells: the picture as wide as the cells and one
// cell high, the window 15 twips higher and 5 pixels wider than the picture's right edge, never
// smaller than its icon and that margin (a failed skin load keeps the clock reachable).
struct FloatingSize {
  int drawWidth = 0;
  int drawHeight = 0;
  int windowWidth = 0;
  int windowHeight = 0;
  bool operator==(const FloatingSize&) const = default;
};
FloatingSize SkinnedFloatingSize(int cells, GlyphCell cell, int drawLeft, const Rect& icon,
                                 int twipsPerPixel);

struct Extent {
  int width = 0;
  int height = 0;
  bool operator==(const Extent&) const = default;
};

// The font style's window once its label fits its caption (at load only): 13 twips below and
// 3 twips right of the label; none when the label's bottom already is the window's height.
std::optional<Extent> FontFloatingSize(const Rect& label, int windowHeight);

struct Position {
  int left = 0;
  int top = 0;
  bool operator==(const Position&) const = default;
};

// The first place: the saved pixels, or with a negative one 825 twips left of the screen's right
// edge at the design top.
Position FloatingStartPosition(int savedX, int savedY, int windowWidth, int designTop,
                               int screenRight, int twipsPerPixel);

// The tick's docking: a clock near the top right of the screen it is on keeps its right edge
// 825 twips from that screen's right edge. The new left, none when the window stays where it is.
std::optional<int> DockedFloatingLeft(const Position& window, int windowWidth, const Rect& screen);

// The pixel position the unload saves; none when it is the stored one.
std::optional<Position> MovedFloatingPosition(const Position& window, int twipsPerPixel,
                                              int storedX, int storedY);

}  // namespace korvane::display
