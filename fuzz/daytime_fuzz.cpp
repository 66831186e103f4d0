// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a DayTime reply: nothing crashes, a date that reads is a valid one, and it reads
// back the same when written in each form servers send.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/posix/posix_locale.h"
#include "sync/daytime_text.h"

using namespace korvane;

namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool same(const CivilDateTime& a, const CivilDateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second && a.millisecond == b.millisecond;
}

void expectReadsBack(const std::string& written, const CivilDateTime& t,
                     const sync::FullYear& fullYear) {
  const auto again = sync::parseDayTimeText(written, fullYear);
  if (!again || !same(*again, t)) {
    std::fprintf(stderr, "\"%s\" does not read back\n", written.c_str());
    std::abort();
  }
}

// Writes t as an ISO line and as "08 Dec 2026 05:05:11.250 UTC", and as a NIST line when its
// year lies in the two-digit window, and reads each back.
void checkRoundTrip(const CivilDateTime& t, const platform::Locale& locale) {
  const sync::FullYear fullYear = [&locale](int yy) { return locale.fullYear(yy); };
  char line[128];
  if (t.year >= 0 && t.year <= 9999) {
    std::snprintf(line, sizeof line, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ\r\n", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, t.millisecond);
    expectReadsBack(line, t, fullYear);
    std::snprintf(line, sizeof line, "%02d %s %04d %02d:%02d:%02d.%03d UTC\n", t.day,
                  kMonths[t.month - 1], t.year, t.hour, t.minute, t.second, t.millisecond);
    expectReadsBack(line, t, fullYear);
  }
  if (t.millisecond == 0 && locale.fullYear(t.year % 100) == t.year) {
    std::snprintf(line, sizeof line,
                  "\n61017 %02d-%02d-%02d %02d:%02d:%02d 00 0 0  50.0 UTC(NIST) *\n", t.year % 100,
                  t.month, t.day, t.hour, t.minute, t.second);
    const auto nist = sync::parseNistDayTime(line, fullYear);
    if (!sync::looksLikeNist(line) || !nist || !same(*nist, t)) {
      std::fprintf(stderr, "NIST line \"%s\" does not read back\n", line);
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const platform::PosixLocale locale;
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  const auto utc = sync::readDayTimeReply(reply, locale, 2026);
  if (!utc) return 0;
  if (!isValidCivil(*utc)) std::abort();
  // The system's parser may pass a leap second on; the text forms read it as the second before.
  if (utc->second == 60) return 0;
  checkRoundTrip(*utc, locale);
  return 0;
}
