// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/skin_render.h"

#include <algorithm>

#include "display/skin_glyphs.h"

namespace korvane::display {

namespace {

bool continuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Calls draw(character's first byte, position) for each character of a UTF-8 text.
template <typename Draw>
void forEachCharacter(std::string_view text, Draw draw) {
  int position = -1;
  for (char c : text) {
    if (continuationByte(c)) continue;
    draw(c, ++position);
  }
}

// A raster of the given size filled with colour, reusing the pixels when the size is the same.
void resetRaster(platform::Raster& r, int width, int height, Colour colour) {
  if (r.width() == width && r.height() == height)
    r.fill({0, 0, width, height}, colour);
  else
    r = platform::Raster(width, height, colour);
}

void fillAll(platform::Raster& r, Colour colour) {
  r.fill({0, 0, r.width(), r.height()}, colour);
}

}  // namespace

int CharacterCount(std::string_view text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char c) { return !continuationByte(c); }));
}

std::optional<Colour> SkinPixel(const platform::Raster& skin, int x, int y) {
  if (x < 0 || y < 0 || x >= skin.width() || y >= skin.height()) return std::nullopt;
  return skin.pixel(x, y);
}

std::optional<int> MarkCellFor(const CivilDateTime& now, const ClockTextFlags& flags) {
  if (!flags.amPm) return std::nullopt;
  return now.hour < 12 ? kAmMarkCell : kPmMarkCell;
}

int DrawStripClock(const platform::Raster& skin, GlyphCell cell, std::string_view text,
                   std::optional<int> markCell, platform::Raster& target) {
  const int cells = CharacterCount(text) + (markCell ? 2 : 0);
  forEachCharacter(text,
                   [&](char c, int position) { DrawSkinGlyph(skin, cell, c, position, target); });
  if (markCell && !cell.empty())
    target.copy(skin, *markCell * cell.width, 0, 2 * cell.width, cell.height,
                (cells - 2) * cell.width, 0);
  return cells;
}

int ComposeStripClock(const platform::Raster& skin, GlyphCell cell, std::string_view text,
                      std::optional<int> markCell, Colour background, platform::Raster& out) {
  const int cells = CharacterCount(text) + (markCell ? 2 : 0);
  resetRaster(out, cells * std::max(cell.width, 0), std::max(cell.height, 0), background);
  return DrawStripClock(skin, cell, text, markCell, out);
}

Rect RenderKRV(const platform::Raster& skin, const CivilDateTime& now, const ClockTextFlags& flags,
               const platform::Locale& locale, OverlaySurface& surface) {
  if (auto back = SkinPixel(skin, skin.width() - 1, 1)) surface.background = *back;
  const GlyphCell cell = StripCell(skin);
  const std::string text = WithoutMarks(FormatClockText(now, flags, SkinKind::KRV, locale));
  const int cells = ComposeStripClock(skin, cell, text, MarkCellFor(now, flags), surface.background,
                                      surface.buffer);
  fillAll(surface.window, surface.background);
  const Rect area{3, 0, 3 + cells * cell.width, cell.height};
  surface.window.copy(surface.buffer, 0, 0, area.width(), area.height(), area.left, area.top);
  return area;
}

int RenderFloatingKRV(const platform::Raster& skin, const CivilDateTime& now,
                      const ClockTextFlags& flags, const platform::Locale& locale,
                      Colour& background, platform::Raster& picture) {
  if (auto back = SkinPixel(skin, 1, 1)) background = *back;
  const std::string text = WithoutMarks(FormatClockText(now, flags, SkinKind::KRV, locale));
  return ComposeStripClock(skin, StripCell(skin), text, MarkCellFor(now, flags), background,
                           picture);
}

AmpLines AmpClockLines(const CivilDateTime& now, const ClockTextFlags& flags,
                       const platform::Locale& locale) {
  return {" " + std::to_string(now.day) + "  KRV v 4.0 ",
          locale.monthAbbreviation(now.month) + " " +
              FormatClockText(now, flags, SkinKind::AMP, locale)};
}

void DrawAmpLines(const platform::Raster& font, const AmpLines& lines, platform::Raster& target) {
  forEachCharacter(lines.first,
                   [&](char c, int position) { DrawAmpGlyph(font, c, position, false, target); });
  forEachCharacter(lines.second,
                   [&](char c, int position) { DrawAmpGlyph(font, c, position, true, target); });
}

Rect RenderAMP(const platform::Raster& skin, const CivilDateTime& now, const ClockTextFlags& flags,
               const platform::Locale& locale, OverlaySurface& surface) {
  if (auto back = SkinPixel(skin, 145, 7)) surface.background = *back;
  const AmpLines lines = AmpClockLines(now, flags, locale);
  const int cells = std::max(CharacterCount(lines.first), CharacterCount(lines.second));
  const Rect area{3, 3, 3 + cells * kAmpCell.width, 3 + 2 * kAmpCell.height + 1};
  resetRaster(surface.buffer, area.width(), area.height(), surface.background);
  DrawAmpLines(skin, lines, surface.buffer);
  fillAll(surface.window, surface.background);
  surface.window.copy(surface.buffer, 0, 0, area.width(), area.height(), area.left, area.top);
  return area;
}

}  // namespace korvane::display
