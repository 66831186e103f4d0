// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the main window: the order of the shut-down, whatever closed it.
#include "shell/nxo_krv_fixture.h"

namespace korvane::shell::testing {
namespace {

using ShutDownTest = MainWindowFixture;

TEST_F(ShutDownTest, StepsRunInOrder) {
  NXO_KRV& w = start();  // a synchronisation is in progress
  w.SyncN.setText("45");
  w.SyncIntC.choose(0);
  w.vbRemoteHost.setText("  127.0.0.1 ");
  w.SyncNow.PropertyChanged.connect([this](ui::Property) { log.push_back("timer"); });
  for (platform::FakeSocket* s : sockets.made)
    s->onClose = nullptr;  // closing is not a peer's close
  sockets.closeLog.clear();
  log.clear();
  w.mnuExit.click();

  EXPECT_TRUE(logHasInOrder({"timer", "doEvents", "close connections", "doEvents",
                             "save 127.0.0.1 45 Second/s", "tray delete", "doEvents"}))
      << logText();
  EXPECT_FALSE(w.SyncNow.enabled());
  EXPECT_EQ(syncSocket().state(), platform::SocketState::Closed);
  EXPECT_FALSE(w.synchronising());
  EXPECT_FALSE(w.loaded());
  EXPECT_TRUE(w.exitMenu);
}

TEST_F(ShutDownTest, UnloadModeDecidesWhetherTheAboutBoxCloses) {
  struct Case {
    int mode;
    bool viaExit;
    bool aboutClosed;
  };
  const Case cases[] = {{ui::kCloseFromControlMenu, false, true},
                        {ui::kCloseForSessionEnd, false, false},
                        {ui::kCloseFromCode, true, true}};
  for (const Case& c : cases) {
    NXO_KRV& w = start("-rs2");
    w.About.click();
    if (c.viaExit)
      w.mnuExit.click();
    else
      w.unload(c.mode);
    EXPECT_EQ(w.unloadMode, c.mode);
    EXPECT_EQ(!w.frmAbout.loaded(), c.aboutClosed) << c.mode;
  }
}

TEST_F(ShutDownTest, SessionCheckpointSavesTheSettingsAndRunsOn) {
  NXO_KRV& w = start("-rs");
  log.clear();
  w.sessionCheckpoint();
  EXPECT_EQ(log, std::vector<std::string>{"save 127.0.0.1 59 Minute/s"});
  EXPECT_TRUE(w.loaded());
  EXPECT_TRUE(w.SyncNow.enabled());
}

TEST_F(ShutDownTest, NothingStartsASynchronisationOnceTheShutDownBegan) {
  NXO_KRV& w = start("-rs");
  // A tick, a fresh list or a tray click that runs while the shut-down lets events through.
  events.onDoEvents = [&] {
    events.onDoEvents = nullptr;
    w.SyncTimeNow_Click();
  };
  w.unload(ui::kCloseForSessionEnd);
  EXPECT_FALSE(w.loaded());
  EXPECT_FALSE(w.synchronising());
  EXPECT_EQ(syncSocket().connects + syncSocket().binds, 0);
}

TEST_F(ShutDownTest, APeersCloseEndsTheExchangeWithoutANestedLoop) {
  NXO_KRV& w = start("-ro");
  ASSERT_FALSE(w.SyncTimeNow.enabled());
  const int passes = events.passes;
  syncSocket().peerClose();
  EXPECT_EQ(events.passes, passes) << "no events run inside a socket's handler";
  EXPECT_TRUE(w.SyncTimeNow.enabled());
  EXPECT_FALSE(w.synchronising()) << "the button and the busy state agree";
  EXPECT_EQ(w.SyncStatus,
            "Time reply refused: the server closed the connection before sending 4 bytes");
}

TEST_F(ShutDownTest, SessionEndFromTheHiddenStateStillSaves) {
  NXO_KRV& w = start("-rs");
  w.unload(ui::kCloseForSessionEnd);
  EXPECT_TRUE(logHasInOrder({"save 127.0.0.1 59 Minute/s", "tray delete"})) << logText();
  EXPECT_FALSE(w.unload(ui::kCloseForSessionEnd)) << "a second close finds nothing to do";
}

}  // namespace
}  // namespace korvane::shell::testing
