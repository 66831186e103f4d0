// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/daytime_text.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_locale.h"

namespace korvane::sync {
namespace {

int window(int yy) {
  return yy < 50 ? 2000 + yy : 1900 + yy;
}

std::string show(const std::optional<CivilDateTime>& t) {
  if (!t) return "none";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t->year, t->month, t->day,
                t->hour, t->minute, t->second);
  return buf;
}

TEST(DayTimeNist, ReadsTheFixedColumns) {
  const std::string reply = "\n61016 25-12-07 04:51:16 00 0 0 123.4 UTC(NIST) * \n";
  EXPECT_TRUE(looksLikeNist(reply));
  EXPECT_EQ(show(parseNistDayTime(reply, window)), "2025-12-07 04:51:16");
  // Numbers at the start but no date in the columns.
  EXPECT_TRUE(looksLikeNist("12345"));
  EXPECT_EQ(show(parseNistDayTime("12345", window)), "none");
  EXPECT_EQ(show(parseNistDayTime("\n61016 25-13-07 04:51:16", window)), "none");
}

TEST(DayTimeText, FormsRealServersSend) {
  const std::pair<const char*, const char*> cases[] = {
      {"08 DEC 2026 05:05:11 UTC\r\n", "2026-12-08 05:05:11"},
      {"Tue Dec  8 05:05:11 2026\r\n", "2026-12-08 05:05:11"},
      {"Tuesday, February 22, 1982 17:37:43-PST", "1982-02-23 01:37:43"},
      {"22 Feb 82 17:37:43 PST", "1982-02-23 01:37:43"},
      {"2026-12-08T05:05:11Z", "2026-12-08 05:05:11"},
      {"2026-12-08T06:05:11+01:00", "2026-12-08 05:05:11"},
      {"2026-12-08 05:05:11.250", "2026-12-08 05:05:11"},
      {"08 Dec 2026 00:05:11 EST", "2026-12-08 05:05:11"},
      {"08 Dec 2026 07:05:11 +0200", "2026-12-08 05:05:11"},
      {"Tue Dec  8 05:05:11 GMT 2026", "2026-12-08 05:05:11"},
      {"1 Jan 2026 00:00:00 -0100", "2026-01-01 01:00:00"},
  };
  for (auto [in, out] : cases) EXPECT_EQ(show(parseDayTimeText(in, window)), out) << in;
}

TEST(DayTimeYear, TwoDigitYearsTakeTheCenturyNearestTheLocalClock) {
  struct Case {
    int yy, around, year;
  };
  for (const Case c :
       {Case{50, 2050, 2050}, Case{49, 2050, 2049}, Case{99, 2050, 2099}, Case{10, 2095, 2110},
        Case{95, 2005, 1995}, Case{25, 2025, 2025}, Case{75, 2025, 2075}, Case{76, 2025, 1976}})
    EXPECT_EQ(nearestCenturyYear(c.yy, c.around), c.year) << c.yy << " around " << c.around;
  // In 2050 a correct NIST reply stays in 2050 whatever the system's window says.
  platform::FakeLocale locale;
  EXPECT_EQ(
      show(readDayTimeReply("\n69807 50-01-01 00:00:05 00 0 0 50.0 UTC(NIST) * \n", locale, 2050)),
      "2050-01-01 00:00:05");
}

TEST(DayTimeText, RefusesWhatIsNotADate) {
  for (const char* bad :
       {"", "\r\n", "x", "hello world", "31 Feb 2026 00:00:00", "Dec 2026", "08 DEC 2026 25:00:00",
        "08 DEC 2026 05:05:11 XYZ", "2026-12-08T5", "08 DEC 2026 05:05:11 UTC UTC"})
    EXPECT_EQ(show(parseDayTimeText(bad, window)), "none") << bad;
}

}  // namespace
}  // namespace korvane::sync
