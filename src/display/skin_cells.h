// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two skin kinds and the size of their glyph cells.
#include "platform/raster.h"

namespace korvane::display {

// "KRV": a GIF strip of 15 glyph cells; "AMP": a 5 x 6 character font bitmap.
enum class SkinKind { KRV, AMP };

struct GlyphCell {
  int width = 0;
  int height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
  bool operator==(const GlyphCell&) const = default;
};

inline constexpr int kStripCells = 15;
inline constexpr GlyphCell kAmpCell{5, 6};

// A strip's cell: the image's width / 15 rounded half to even, and its height (0 x 0 when empty).
GlyphCell StripCell(const platform::Raster& skin);

}  // namespace korvane::display
