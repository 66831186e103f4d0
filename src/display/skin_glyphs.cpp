// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/skin_glyphs.h"

#include "common/rounding.h"

namespace korvane::display {

GlyphCell StripCell(const platform::Raster& skin) {
  if (skin.empty()) return {};
  const double width = roundHalfEven(static_cast<double>(skin.width()) / kStripCells);
  return {static_cast<int>(width), skin.height()};
}

std::optional<int> StripGlyphCell(char c) {
  if (c == ':') return 10;
  if (c >= '0' && c <= '9') return c - '0';
  return std::nullopt;
}

std::optional<AmpGlyph> AmpGlyphOf(char c) {
  if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (c >= 'a' && c <= 'z') return AmpGlyph{c - 'a', 0};
  if (c == ' ') return AmpGlyph{29, 0};
  if (c == ':') return AmpGlyph{12, 1};
  if (c == '.') return AmpGlyph{27, 1};
  if (c >= '0' && c <= '9') return AmpGlyph{c - '0', 1};
  return std::nullopt;
}

void DrawSkinGlyph(const platform::Raster& skin, GlyphCell cell, char c, int position,
                   platform::Raster& buffer) {
  const auto index = StripGlyphCell(c);
  if (!index || cell.empty()) return;
  // The copy is clipped to the skin and the buffer.
  buffer.copy(skin, *index * cell.width, 0, cell.width, cell.height, position * cell.width, 0);
}

void DrawAmpGlyph(const platform::Raster& skin, char c, int position, bool secondLine,
                  platform::Raster& buffer) {
  const auto glyph = AmpGlyphOf(c);
  if (!glyph) return;
  buffer.copy(skin, glyph->column * kAmpCell.width, glyph->row * kAmpCell.height, kAmpCell.width,
              kAmpCell.height, position * kAmpCell.width, secondLine ? 7 : 0);
}

}  // namespace korvane::display
