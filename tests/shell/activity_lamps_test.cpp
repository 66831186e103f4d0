// SPDX-License-Identifier: GPL-3.0-or-later
// The SRC, RX and TX lamps.
#include "shell/activity_lamps.h"

#include <gtest/gtest.h>

namespace korvane::shell {
namespace {

struct LampsTest : ::testing::Test {
  ui::ImageBox led0{"LED(0)"}, led1{"LED(1)"}, led2{"LED(2)"};
  bool normal = true;
  ActivityLamps lamps{{&led0, &led1, &led2}, [this] { return normal; }};
};

TEST_F(LampsTest, SourceBlinksAndPutsTransmitOutWhenItGoesDark) {
  lamps.DataOut();
  lamps.SRCToggle();
  EXPECT_EQ(led0.picture(), kLampLit);
  EXPECT_EQ(led2.picture(), kLampLit);
  lamps.SRCToggle();
  EXPECT_EQ(led0.picture(), kLampDark);
  EXPECT_EQ(led2.picture(), kLampDark);
  lamps.SRCToggle();
  lamps.SRCInC();  // dark picture, blink state unchanged
  EXPECT_EQ(led0.picture(), kLampDark);
  EXPECT_TRUE(lamps.srcLedLit());
}

TEST_F(LampsTest, NoPictureChangesWhileMinimisedButTheStateStillFlips) {
  normal = false;
  lamps.SRCToggle();
  lamps.DataIn();
  EXPECT_EQ(led0.picture(), 0);
  EXPECT_EQ(led1.picture(), 0);
  EXPECT_TRUE(lamps.srcLedLit());
}

}  // namespace
}  // namespace korvane::shell
