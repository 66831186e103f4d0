// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Copying one glyph cell of a skin into the compose buffer.
#include <optional>

#include "display/skin_cells.h"
#include "platform/raster.h"

namespace korvane::display {

// Strip cells of the two marks; each is two cells wide.
inline constexpr int kAmMarkCell = 11;
inline constexpr int kPmMarkCell = 13;

// The strip cell of a character: the digits 0 to 9, the colon 10; none for anything else.
std::optional<int> StripGlyphCell(char c);

// Where a character's glyph sits in a 5 x 6 font: letters (either case) in row 0 by alphabet,
// the blank at column 29 of row 0; digits, ":" (12) and "." (27) in row 1.
struct AmpGlyph {
  int column = 0;
  int row = 0;
  bool operator==(const AmpGlyph&) const = default;
};
std::optional<AmpGlyph> AmpGlyphOf(char c);

// Copies the strip glyph of c to x = position x cell width, y = 0 of buffer. A character without
// a glyph (a blank among them) leaves its place as it was; what lies outside the skin too.
void DrawSkinGlyph(const platform::Raster& skin, GlyphCell cell, char c, int position,
                   platform::Raster& buffer);

// Copies the font glyph of c to x = position x 5, y = 0 (7 on the second line) of buffer.
void DrawAmpGlyph(const platform::Raster& skin, char c, int position, bool secondLine,
                  platform::Raster& buffer);

}  // namespace korvane::display
