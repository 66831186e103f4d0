#include "common/tip_field.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(TipField, PadsCutsAndShowsUpToTheNul) {
  TipField tip(withNul(" Korvane "));
  EXPECT_EQ(tip.raw().size(), 64u);
  EXPECT_EQ(tip.shown(), " Korvane ");
  EXPECT_EQ(tip.raw().back(), ' ');

  const std::string longText(70, 'x');
  TipField cut(withNul(longText));  // the NUL falls off the end
  EXPECT_EQ(cut.shown(), std::string(64, 'x'));

  TipField noNul("KRV - No Adjustment: 12/8/2026");
  EXPECT_EQ(noNul.shown().size(), 64u);  // padding blanks are shown
  EXPECT_TRUE(noNul.contains("No Adjustment"));
}

}  // namespace
}  // namespace korvane
