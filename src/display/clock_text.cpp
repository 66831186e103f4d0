// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/clock_text.h"

#include <cstdio>

#include "common/text.h"

namespace korvane::display {

namespace {
std::string twoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}
}  // namespace

std::string WithoutMarks(const std::string& text) {
  return text::replaceAll(text::replaceAll(text, " AM", ""), " PM", "");
}

std::string OverlayTooltip(const CivilDateTime& now, const platform::Locale& locale) {
  return " KRV: " + locale.dayName(dayOfWeek(now.year, now.month, now.day), false) + ", " +
         locale.monthName(now.month) + " " + std::to_string(now.day) + ", " +
         std::to_string(now.year) + " ";
}

std::string FormatClockText(const CivilDateTime& now, const ClockTextFlags& flags, SkinKind kind,
                            const platform::Locale& locale) {
  const bool afternoon = now.hour >= 12;
  std::string out;
  if (flags.hours24) {
    out = twoDigits(now.hour) + ":" + twoDigits(now.minute);
  } else {
    const int hour12 = now.hour % 12 == 0 ? 12 : now.hour % 12;
    out = std::to_string(hour12) + ":" + twoDigits(now.minute) + " " +
          locale.timeDesignator(afternoon);
    if (kind == SkinKind::AMP) out = WithoutMarks(out);
  }
  if (flags.seconds) out += ":" + twoDigits(now.second);
  if (flags.amPm) out += afternoon ? " PM" : " AM";
  return out;
}

}  // namespace korvane::display
