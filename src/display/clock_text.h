// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clock text every skinned clock draws.
#include <string>

#include "common/ole_date.h"
#include "display/skin_cells.h"
#include "platform/locale.h"
#include "program/settings.h"

namespace korvane::display {

// The three clock-text flags of the taskbar clock settings.
struct ClockTextFlags {
  bool hours24 = false;
  bool seconds = false;
  bool amPm = false;
};

// The flags every clock reads from the settings.
inline ClockTextFlags ClockFlagsOf(const program::Settings& s) {
  return {s.clock24Hour, s.clockSeconds, s.clockAmPm};
}

// The clock text of one reading of the clock: "hh:mm" or "h:mm" with the system's designator
// (dropped for Winamp skins when it is " AM" or " PM"), then ":ss" and " AM"/" PM" as flagged.
std::string FormatClockText(const CivilDateTime& now, const ClockTextFlags& flags, SkinKind kind,
                            const platform::Locale& locale);

// The overlay's date tooltip: " KRV: Monday, December 7, 2026 ".
std::string OverlayTooltip(const CivilDateTime& now, const platform::Locale& locale);

// The text without any " AM" or " PM" (the strip renderers draw the mark as a glyph instead).
std::string WithoutMarks(const std::string& text);

}  // namespace korvane::display
