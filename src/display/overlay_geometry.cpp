// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/overlay_geometry.h"

#include <algorithm>

#include "common/rounding.h"

namespace korvane::display {

namespace {
// The clock is docked in the notification area unless its bottom lies more than 3 pixels above.
bool dockedAtBottom(const Rect& notifyArea, const Rect& clock) {
  return notifyArea.bottom - clock.bottom <= 3;
}

Rect sized(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
}  // namespace

int WidthFactor(SkinKind kind) {
  return kind == SkinKind::AMP ? 25 : 15;
}

int ClockWindowHeight(SkinKind kind, GlyphCell cell) {
  return kind == SkinKind::AMP ? 2 * cell.height + 7 : cell.height;
}

OverlayPlacement InitialOverlayPlacement(SkinKind kind, GlyphCell cell, const Rect& notifyArea,
                                         const Rect& clock, int twipsPerPixel) {
  const double twips = 10.0 * WidthFactor(kind) * cell.width;
  const int width =
      static_cast<int>(roundHalfEven(twips / (twipsPerPixel > 0 ? twipsPerPixel : 15)));
  OverlayPlacement placement{sized(0, 0, width, clock.height()), std::nullopt};
  if (cell.empty()) return placement;
  const int left = dockedAtBottom(notifyArea, clock) ? clock.left - notifyArea.left : 0;
  const int height = ClockWindowHeight(kind, cell);
  placement.clock = sized(left, 0, 10 * WidthFactor(kind), height);
  placement.overlay.bottom = std::min(clock.height(), height);
  return placement;
}

std::optional<Rect> RefitClockWindow(SkinKind kind, GlyphCell cell, const Rect& notifyArea,
                                     const Rect& clock) {
  if (cell.empty() || !dockedAtBottom(notifyArea, clock)) return std::nullopt;
  return sized(clock.left - notifyArea.left, 0, WidthFactor(kind) * cell.width,
               ClockWindowHeight(kind, cell));
}

Rect RestoredClockWindow(const Rect& notifyAreaAtLoad, const Rect& clockAtLoad) {
  return sized(clockAtLoad.left - notifyAreaAtLoad.left, 0, clockAtLoad.width(),
               clockAtLoad.height());
}

}  // namespace korvane::display
