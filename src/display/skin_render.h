// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing the skinned taskbar clock: composed off-screen, then one copy to the window.
#include <optional>
#include <string>
#include <string_view>

#include "common/colour.h"
#include "common/ole_date.h"
#include "common/rect.h"
#include "display/clock_text.h"
#include "display/skin_cells.h"
#include "platform/locale.h"
#include "platform/raster.h"

namespace korvane::display {

// The overlay's pixels: the compose buffer, the window's surface (sized by the window) and the
// window's background colour, black until a drawing finds the skin's.
struct OverlaySurface {
  platform::Raster buffer;
  platform::Raster window;
  Colour background = 0;
};

// The colour of a skin pixel; none outside the image (the caller keeps its colour then).
std::optional<Colour> SkinPixel(const platform::Raster& skin, int x, int y);

// Draws a strip clock at (0, 0) of target: each character's glyph at its position, then the
// two-cell mark starting at markCell. Every other pixel stays as it was. Returns the cells.
int DrawStripClock(const platform::Raster& skin, GlyphCell cell, std::string_view text,
                   std::optional<int> markCell, platform::Raster& target);

// Composes a strip clock into out, made text's cells (plus two for a mark) wide, cell high and
// filled with background: each character's glyph at its position, then the two-cell mark
// starting at markCell. Returns the number of cells.
int ComposeStripClock(const platform::Raster& skin, GlyphCell cell, std::string_view text,
                      std::optional<int> markCell, Colour background, platform::Raster& out);

// The AM or PM mark of a reading when the AM/PM flag asks for one.
std::optional<int> MarkCellFor(const CivilDateTime& now, const ClockTextFlags& flags);

// One drawing with a GIF strip skin: background from (width - 1, 1), the clock text without its
// marks, the mark glyph, copied to the window at (3, 0). Returns the window area copied to.
Rect RenderKRV(const platform::Raster& skin, const CivilDateTime& now, const ClockTextFlags& flags,
               const platform::Locale& locale, OverlaySurface& surface);

// One drawing of the skinned floating clock: the background from (1, 1) (kept when outside the
// skin), the clock text without its marks and the mark composed into picture, which is made as
// wide as the cells. Returns the number of cells.
int RenderFloatingKRV(const platform::Raster& skin, const CivilDateTime& now,
                      const ClockTextFlags& flags, const platform::Locale& locale,
                      Colour& background, platform::Raster& picture);

// The two lines the Winamp overlay shows: " 7  KRV v 4.0 " and "Dec 3:05:07".
struct AmpLines {
  std::string first;
  std::string second;
};
AmpLines AmpClockLines(const CivilDateTime& now, const ClockTextFlags& flags,
                       const platform::Locale& locale);

// Draws the two lines with a font at (0, 0) of target, the second 7 pixels lower.
void DrawAmpLines(const platform::Raster& font, const AmpLines& lines, platform::Raster& target);

// One drawing with a Winamp font: background from (145, 7), two lines 7 pixels apart, copied to
// the window at (3, 3) as wide as the longer line and 13 pixels high. Returns that area.
Rect RenderAMP(const platform::Raster& skin, const CivilDateTime& now, const ClockTextFlags& flags,
               const platform::Locale& locale, OverlaySurface& surface);

// The number of characters of a UTF-8 text (each glyph position is one character).
int CharacterCount(std::string_view text);

}  // namespace korvane::display
