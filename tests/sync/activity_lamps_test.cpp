// The SRC, RX and TX lamps.
#include "sync_fixture.h"

namespace korvane::sync::testing {
namespace {

class LampsTest : public SyncFixture {};

TEST_F(LampsTest, SourceBlinksAndPutsTransmitOutWhenItGoesDark) {
  ActivityLamps& lamps = driver.lamps;
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
  shell.normal = false;
  driver.lamps.SRCToggle();
  driver.lamps.DataIn();
  EXPECT_EQ(led0.picture(), 0);
  EXPECT_EQ(led1.picture(), 0);
  EXPECT_TRUE(driver.lamps.srcLedLit());
  EXPECT_EQ(shell.dataArrivals, 1);  // the version check still starts
}

TEST_F(LampsTest, StartingWhileLitPutsTheSourceOut) {
  addServer("h", "37:0:0:0");
  selectServer(1);
  driver.lamps.SRCToggle();
  driver.SyncTimeNow_Click();
  EXPECT_EQ(led0.picture(), kLampDark);
}

}  // namespace
}  // namespace korvane::sync::testing
