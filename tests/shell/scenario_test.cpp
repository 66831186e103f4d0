// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs of the main window on the fake clock and scripted sockets.
#include "shell/nxo_krv_fixture.h"
#include "sync/protocol.h"

namespace korvane::shell::testing {
namespace {

class ScenarioTest : public MainWindowFixture {
 protected:
  // A Time-protocol reply: the server's clock, offset seconds from ours.
  static std::vector<uint8_t> timeReply(const platform::FakeClock& c, int64_t offsetSeconds) {
    const auto v = static_cast<uint32_t>(c.utcMillis() / 1000 + 2208988800LL + offsetSeconds);
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  }
  platform::FakeSocket& tcpTime() { return *sockets.made.at(0); }
};

TEST_F(ScenarioTest, RunOnceSetsTheClockShowsTheResultAndEndsItself) {
  int dataArrivals = 0;
  NXO_KRV& w = make("-ro");
  w.TimeDataArrived.connect([&dataArrivals] { ++dataArrivals; });
  w.load();
  ASSERT_EQ(tcpTime().connects, 1);
  const int64_t before = clock.utcMillis();
  tcpTime().deliver(timeReply(clock, 5));
  EXPECT_NEAR(clock.utcMillis() - before, 5000, 1000);
  EXPECT_EQ(w.SyncStatus, "Time Adjusted by 5 second(s)");
  EXPECT_EQ(dataArrivals, 1) << "the update service hears of the first time data";
  EXPECT_FALSE(w.synchronising());
  w.SyncNow.tick();
  EXPECT_NE(w.Current.text().find("\r\n  Time Adjusted by 5 second(s)"), std::string::npos);
  EXPECT_EQ(shell.count("add") + shell.count("modify"), 0) << "no tray icon in run-once mode";
  for (int i = 1; i < kRunOnceLimitTicks; ++i) w.SyncNow.tick();
  EXPECT_FALSE(w.loaded());
  EXPECT_TRUE(logHasInOrder({"save 127.0.0.1 59 Minute/s", "tray delete"})) << logText();
}

TEST_F(ScenarioTest, MinimisedRunShowsFlagThenAdjustedPictureAndRestoresClean) {
  openMinimized = true;
  protocol = sync::choice::kTime;
  NXO_KRV& w = start();
  ASSERT_GE(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0].op, "add");
  EXPECT_EQ(shell.calls[1].op, "modify");
  EXPECT_EQ(shell.calls[1].iconFile, w.IML.file(27)) << "the flag of the server asked";
  EXPECT_EQ(shell.calls[1].tip, " Checking Time Server: Loopback Server NA ");
  w.SyncNow.tick();
  EXPECT_EQ(w.LED0.picture(), kLampDark) << "lamps keep their pictures while minimised";

  tcpTime().deliver(timeReply(clock, -3));
  EXPECT_EQ(shell.calls.back().op, "modify");
  EXPECT_EQ(shell.calls.back().iconFile, w.IML.file(kAdjustedPicture));
  EXPECT_EQ(shell.calls.back().tip, " Time Adjusted by -3 second(s) ");

  shell.trayMessage(platform::kTrayLeftButtonUp);
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(shell.calls.back().op, "delete");
  w.SyncNow.tick();
  EXPECT_EQ(w.LED0.picture(), kLampDark);
  EXPECT_EQ(w.LED1.picture(), kLampDark);
}

TEST_F(ScenarioTest, ExitDuringASynchronisationClosesEverySocketAndSaves) {
  NXO_KRV& w = start();
  ASSERT_TRUE(w.synchronising());
  w.SyncN.setText("2");
  w.SyncIntC.choose(2);
  w.mnuExit.click();
  for (platform::FakeSocket* s : sockets.made) EXPECT_EQ(s->state(), platform::SocketState::Closed);
  EXPECT_TRUE(logHasInOrder({"save 127.0.0.1 2 Hour/s"})) << logText();
}

}  // namespace
}  // namespace korvane::shell::testing
