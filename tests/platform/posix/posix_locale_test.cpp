// SPDX-License-Identifier: GPL-3.0-or-later
// The C library's date formats, read in the C locale so the expectations hold on any machine.
#include "platform/posix/posix_locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace korvane::platform {
namespace {

class PosixLocaleTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LC_ALL", "C", 1); }  // read when the locale is first used
  void TearDown() override { unsetenv("LC_ALL"); }
};

TEST_F(PosixLocaleTest, UpperCasesEveryLanguageNotJustAscii) {
  const std::pair<const char*, const char*> cases[] = {{"März", "MÄRZ"},
                                                       {"déc.", "DÉC."},
                                                       {"февраль", "ФЕВРАЛЬ"},
                                                       {"sun", "SUN"},
                                                       {"a\xFF"
                                                        "b",
                                                        "A\xFF"
                                                        "B"}};
  const PosixLocale locale;
  for (const auto& [text, upper] : cases) EXPECT_EQ(locale.toUpper(text), upper) << text;
}

TEST_F(PosixLocaleTest, ParsesTheLocalesOwnDateTimeFormsAndNothingElse) {
  using namespace std::string_view_literals;
  struct Case {
    std::string_view text;
    std::optional<CivilDateTime> expected;
  };
  const Case cases[] = {
      {"Tue Dec  8 05:05:11 2026", CivilDateTime{2026, 12, 8, 5, 5, 11, 0}},
      {"  Tue Dec  8 05:05:11 2026\r\n", CivilDateTime{2026, 12, 8, 5, 5, 11, 0}},
      {"12/08/26 05:05:11", CivilDateTime{2026, 12, 8, 5, 5, 11, 0}},
      {"Tue Dec  8 05:05:11 2026 and more", std::nullopt},
      {"13/08/26 05:05:11", std::nullopt},
      {"02/31/26 05:00:02", std::nullopt},
      {"12/08/26 05:05:11\0\0"sv, CivilDateTime{2026, 12, 8, 5, 5, 11, 0}},
      {"12/08/26 05:05:11\0junk"sv, std::nullopt},
      {"12/08/26 25:05:11", std::nullopt},
      {"", std::nullopt},
      {"not a date", std::nullopt},
  };
  const PosixLocale locale;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto got = locale.parseDateTime(c.text);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (!got) continue;
    EXPECT_EQ(oleMillisFromCivil(*got), oleMillisFromCivil(*c.expected));
  }
}

TEST_F(PosixLocaleTest, FormatsNamesAndTheTwoDigitYearWindow) {
  const PosixLocale locale;
  const CivilDateTime t{2026, 12, 8, 17, 5, 9, 0};
  EXPECT_EQ(locale.longTime(t), "17:05:09");
  EXPECT_EQ(locale.generalDate(t), "12/08/26 17:05:09");
  EXPECT_EQ(locale.fullYear(49), 2049);
  EXPECT_EQ(locale.fullYear(50), 1950);
  EXPECT_EQ(locale.dayName(0, true), "Sun");
  EXPECT_EQ(locale.dayName(-1, false), "Saturday");
  EXPECT_EQ(locale.monthName(12), "December");
  EXPECT_EQ(locale.monthName(13), "January");
  EXPECT_EQ(locale.monthAbbreviation(-1), "Nov");
  EXPECT_EQ(locale.timeDesignator(true), "PM");
}

}  // namespace
}  // namespace korvane::platform
