// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window: the order of its steps and the command line.
#include "shell/nxo_krv.h"
#include "shell/nxo_krv_fixture.h"
#include "shell/product.h"

namespace korvane::shell::testing {
namespace {

using StartUpTest = MainWindowFixture;

TEST_F(StartUpTest, RecordsAndListsAreReadyBeforeTheSettingsLoad) {
  struct Seen {
    std::string tip, caption;
    size_t units = 0;
    int lamp = 0, limit = 0;
    bool timerOn = false;
    std::string zoneTip;
  } seen;
  registry.onRead = [this, &seen] {
    NXO_KRV& w = window();
    seen = {w.trayRecord.tip.shown(), w.caption(), w.SyncIntC.items().size(),
            w.LED2.picture(),         w.SyncLimit, w.SyncNow.enabled(),
            w.Current.toolTipText()};
  };
  start();
  EXPECT_EQ(seen.tip, " " + kProductTitle);
  EXPECT_EQ(seen.caption, kProductTitle);
  EXPECT_EQ(seen.units, 4u);
  EXPECT_EQ(seen.lamp, kLampDark);
  EXPECT_EQ(seen.limit, 59);
  EXPECT_TRUE(seen.timerOn);
  EXPECT_EQ(seen.zoneTip, "") << "the zone is read after the settings";
  NXO_KRV& w = window();
  EXPECT_EQ(w.Current.toolTipText(), " Current Time Zone: UTC ");
  EXPECT_EQ(w.versionString, "5.1.12");
  EXPECT_EQ(w.SyncIntC.items(),
            (std::vector<std::string>{"Second/s", "Minute/s", "Hour/s", "Day/s"}));
  EXPECT_EQ(w.trayRecord.size, 88);
  EXPECT_EQ(w.trayRecord.flags, 7);
  EXPECT_EQ(w.trayRecord.callbackMessage, 0x200);
  EXPECT_EQ(w.trayRecord.tip.raw().size(), 64u);
}

TEST_F(StartUpTest, CommandLineDecidesBetweenSyncRunOnceAndHidden) {
  struct Case {
    const char* line;
    bool synchronises;  // a request left on a socket
    bool runOnce;
    bool visible;
  };
  const Case cases[] = {
      {"", true, false, true},
      {"-ro", true, true, false},
      {"-ro more words", true, true, false},
      {"-rs", false, false, false},
      {"-RO", false, false, true},
      {" -ro", false, false, true},
      {"--help", false, false, true},
  };
  for (const Case& c : cases) {
    const int connectsBefore = syncSocket().connects, resolvesBefore = syncSocket().resolves;
    NXO_KRV& w = start(c.line);
    const bool requested =
        syncSocket().connects > connectsBefore || syncSocket().resolves > resolvesBefore;
    synchroniser.stop();
    EXPECT_EQ(requested, c.synchronises) << "'" << c.line << "'";
    EXPECT_EQ(w.runOnce, c.runOnce) << c.line;
    EXPECT_EQ(w.visible(), c.visible) << c.line;
    EXPECT_EQ(shell.count("add"), 0) << "no tray icon in any of these: " << c.line;
  }
}

TEST_F(StartUpTest, RunOnceAsksWithTheTimeProtocol) {
  start("-ro");
  EXPECT_EQ(sockets.made.at(0)->connects, 1);
  EXPECT_EQ(sockets.made.at(0)->remotePort(), 37);
  EXPECT_TRUE(sockets.made.at(0)->sent.empty());
}

TEST_F(StartUpTest, SecondInstanceEndsWithoutShuttingDownOrSaving) {
  environment.otherInstance = true;
  NXO_KRV& w = start();
  EXPECT_TRUE(w.secondInstance);
  EXPECT_FALSE(w.visible());
  EXPECT_TRUE(log.empty()) << logText();  // no settings read, none saved, no tray calls
  EXPECT_EQ(sockets.made.at(0)->connects + sockets.made.at(0)->binds, 0);
}

TEST_F(StartUpTest, OpenMinimizedStartsInTheTrayAndStillSynchronises) {
  openMinimized = true;
  NXO_KRV& w = start();
  EXPECT_FALSE(w.visible());
  EXPECT_EQ(w.windowState(), ui::WindowState::Minimized);
  ASSERT_GE(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls.front().op, "add");
  EXPECT_EQ(shell.calls.front().tip, " " + kProductTitle);
  EXPECT_FALSE(syncSocket().sent.empty());
  EXPECT_TRUE(w.synchronising());
}

TEST_F(StartUpTest, OpenMinimizedWithoutTrayLeavesAnOrdinaryMinimisedWindow) {
  shell.hasTray = false;
  openMinimized = true;
  NXO_KRV& w = start();
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.windowState(), ui::WindowState::Minimized);
  EXPECT_EQ(shell.count("add"), 0);
}

TEST_F(StartUpTest, AdvancedIsEnabledOnlyWhenTheProgramHasTheOptionsDialog) {
  EXPECT_FALSE(start("-rs").Advanced.enabled());
  program.windows = {program::window::kOptions};
  NXO_KRV& w = start("-rs");
  ASSERT_TRUE(w.Advanced.enabled());
  w.Advanced.click();
  EXPECT_EQ(log.back(), "show KRV_Config");
}

}  // namespace
}  // namespace korvane::shell::testing
