// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the taskbar overlay and the clock window it covers go (pixels unless named twips).
#include <optional>

#include "common/rect.h"
#include "display/skin_cells.h"

namespace korvane::display {

// Cells the taskbar clock window is made wide: 15 for strips, 25 for Winamp fonts.
int WidthFactor(SkinKind kind);

// The clock window's height for a skin: the cell's, or two lines and their gap for a font.
int ClockWindowHeight(SkinKind kind, GlyphCell cell);

// What the overlay's load does: its own window at (0, 0) in the clock window, width factor x
// cell width x 10 twips wide and as high as the clock window at load, but never higher than the
// clock window it is fitted to (a child window would be clipped there; a window of its own would
// hang below it); and the clock window's new place in its parent, none while the cell is empty
// (a failed load leaves the taskbar clock alone).
struct OverlayPlacement {
  Rect overlay;
  std::optional<Rect> clock;
};
OverlayPlacement InitialOverlayPlacement(SkinKind kind, GlyphCell cell, const Rect& notifyArea,
                                         const Rect& clock, int twipsPerPixel);

// The minute re-fit of the clock window, from the windows' current screen rectangles: none when
// the clock sits more than 3 pixels above the notification area's bottom or the cell is empty.
std::optional<Rect> RefitClockWindow(SkinKind kind, GlyphCell cell, const Rect& notifyArea,
                                     const Rect& clock);

// The clock window's place after the overlay unloads: its size and horizontal offset at load.
Rect RestoredClockWindow(const Rect& notifyAreaAtLoad, const Rect& clockAtLoad);

}  // namespace korvane::display
