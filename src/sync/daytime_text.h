// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the line a DayTime server (RFC 867) sends.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/ole_date.h"
#include "platform/locale.h"

namespace korvane::sync {

using FullYear = std::function<int(int twoDigitYear)>;

// True when the first five characters read as a number: the NIST form
// "\nJJJJJ YR-MO-DA HH:MM:SS TT L H msADV UTC(NIST) OTM".
bool looksLikeNist(std::string_view reply);

// The UTC date and time of a NIST-form reply; empty when its fields are not a date and time.
std::optional<CivilDateTime> parseNistDayTime(std::string_view reply, const FullYear& fullYear);

// The UTC date and time of the other forms servers send: "08 DEC 2026 05:05:11 UTC",
// "Tue Dec  8 05:05:11 2026", "Tuesday, February 22, 1982 17:37:43-PST", "22 Feb 82 17:37:43
// PST", "2026-12-08T05:05:11Z". A zone in the text is honoured; a text without one is UTC.
std::optional<CivilDateTime> parseDayTimeText(std::string_view reply, const FullYear& fullYear);

// The year ending in the two digits yy that lies nearest to aroundYear: a fixed window would
// turn a correct reply into one a century off once the clock passes its end.
int nearestCenturyYear(int yy, int aroundYear);

// The UTC date and time of a whole DayTime reply: the NIST form, then the forms above (a
// two-digit year in the century nearest localYear), then the system's own date-time parser;
// empty when none of them reads it.
std::optional<CivilDateTime> readDayTimeReply(std::string_view reply,
                                              const platform::Locale& locale, int localYear);

// A reply that is not a date, made fit for a status line: its first line that is not blank,
// control characters removed, other bytes outside ASCII shown as '?', and at most
// kMaxReplyShown characters (then "...").
constexpr size_t kMaxReplyShown = 80;
std::string replyForDisplay(std::string_view reply);

}  // namespace korvane::sync
