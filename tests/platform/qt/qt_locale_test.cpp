// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop locale's capitals follow the language, not ASCII only.
#include "platform/qt/qt_locale.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(QtLocaleTest, UpperCasesEveryLanguageNotJustAscii) {
  const std::pair<const char*, const char*> cases[] = {
      {"März", "MÄRZ"}, {"déc.", "DÉC."}, {"февраль", "ФЕВРАЛЬ"}, {"sun", "SUN"}};
  const QtLocale locale;
  for (const auto& [text, upper] : cases) EXPECT_EQ(locale.toUpper(text), upper) << text;
}

}  // namespace
}  // namespace korvane::platform
