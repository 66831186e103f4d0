// SPDX-License-Identifier: GPL-3.0-or-later
// The wiring main relies on, driven on fakes: settings and list in, windows hosted, state saved.
#include <algorithm>

#include "app/program_fixture.h"
#include "display/krv_dconfig.h"
#include "options/krv_config.h"
#include "shell/product.h"

namespace korvane::app::testing {
namespace {

using ProgramTest = ProgramFixture;

TEST_F(ProgramTest, StartReadsTheStoredStateHostsTheMainWindowAndExitSavesIt) {
  KorvaneProgram& p = make();
  ASSERT_TRUE(p.start());
  shell::NXO_KRV& w = p.mainWindow();
  EXPECT_EQ(p.state().settings.protocol, "Default Time Protocol");
  EXPECT_EQ(w.SyncN.text(), "5");
  EXPECT_EQ(w.vbRemoteHost.text(), "127.0.0.1");
  EXPECT_EQ(timeSocket().connects, 1) << "an empty command line synchronises at once";
  EXPECT_EQ(hosts.log, (std::vector<std::string>{"host NXO_KRV", "show NXO_KRV"}));
  EXPECT_TRUE(w.Advanced.enabled());

  w.SyncN.setText("7");
  w.SyncIntC.choose(2);
  w.mnuExit.click();
  EXPECT_EQ(stored("Settings"), "NO:7:Hour/s:NA");
  EXPECT_EQ(stored("KRVLastServer"), "127.0.0.1");
  EXPECT_EQ(hosts.count(), 0u);
  EXPECT_EQ(hosts.log.back(), "release NXO_KRV");
}

TEST_F(ProgramTest, ASecondInstanceEndsWithoutHostingOrSaving) {
  environment.otherInstance = true;
  EXPECT_FALSE(make().start());
  EXPECT_EQ(hosts.log, (std::vector<std::string>{"host NXO_KRV"})) << "hosted, never shown";
  EXPECT_EQ(stored("Settings"), "NO:5:Minute/s:NA");
}

TEST_F(ProgramTest, TheAboutBoxIsHostedOnEachShowAndReleasedWhenClosed) {
  KorvaneProgram& p = make("-rs");
  ASSERT_TRUE(p.start());
  shell::NXO_KRV& w = p.mainWindow();
  for (int i = 0; i < 2; ++i) {
    w.About.click();
    EXPECT_TRUE(hosts.hosted(w.frmAbout));
    w.frmAbout.cmdOK.click();
    EXPECT_FALSE(hosts.hosted(w.frmAbout));
  }
  EXPECT_EQ(w.frmAbout.Load.handlerCount(), 1u) << "no handler piles up across shows";
}

TEST_F(ProgramTest, ExitUnloadsTheOtherWindowsAfterSavingInTheirOrder) {
  KorvaneProgram& p = make("-rs");
  ASSERT_TRUE(p.start());
  p.mainWindow().Advanced.click();
  p.showWindow(program::window::kTaskbarClock);
  ASSERT_NE(p.loadedWindow(program::window::kOptions), nullptr);
  p.mainWindow().mnuExit.click();
  const auto released = [this](const char* name) {
    return std::find(hosts.log.begin(), hosts.log.end(), std::string("release ") + name) -
           hosts.log.begin();
  };
  EXPECT_LT(released("KRV_Clock"), released("KRV_Config"));
  EXPECT_LT(released("KRV_Config"), static_cast<long>(hosts.log.size()));
  EXPECT_EQ(p.loadedWindow(program::window::kTaskbarClock), nullptr);
  EXPECT_EQ(p.loadedWindow(program::window::kOptions), nullptr);
  EXPECT_EQ(stored("Settings"), "NO:5:Minute/s:NA");
  EXPECT_EQ(stored("OpenMinimized"), "<none>") << "the dialog changed nothing";
  EXPECT_EQ(hosts.count(), 0u);
}

// The options dialog's region reaches the synchronisation at once and the main window's save.
TEST_F(ProgramTest, ARegionChosenInTheOptionsDialogIsUsedAndSavedByTheMainWindow) {
  KorvaneProgram& p = make("-rs");
  ASSERT_TRUE(p.start());
  p.mainWindow().Advanced.click();
  auto* options = dynamic_cast<options::KRV_Config*>(p.loadedWindow(program::window::kOptions));
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(hosts.hosted(*options) && options->visible());
  EXPECT_EQ(options->caption(), p.mainWindow().caption());
  ASSERT_EQ(p.mainWindow().tables.regionCount, 1);
  options->Regions.choose(2);
  EXPECT_EQ(p.mainWindow().regionCode, "EU");
  EXPECT_EQ(p.mainWindow().tables.regionCount, 0) << "the list has no server in EU";
  options->Protos.choose(4);
  EXPECT_EQ(p.mainWindow().protocolChoice, "Default UnixTime Protocol!");
  options->Ap_CL.click();
  EXPECT_EQ(stored("Protocol"), "Default UnixTime Protocol!");
  p.mainWindow().mnuExit.click();
  EXPECT_EQ(stored("Settings"), "NO:5:Minute/s:EU");
}

TEST_F(ProgramTest, TheFloatingClockDialogShowsWithTheProgramsTitleAndClosesAtExit) {
  KorvaneProgram& p = make("-rs");
  ASSERT_TRUE(p.start());
  auto* d = dynamic_cast<display::KRV_DConfig*>(p.showWindow(program::window::kFloatingSettings));
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(hosts.hosted(*d));
  EXPECT_TRUE(d->visible());
  EXPECT_EQ(d->caption(), shell::kProductTitle);
  EXPECT_EQ(d->iconFiles(), p.mainWindow().iconFiles());
  EXPECT_EQ(d->KRVDLbl.caption(), "Korvane 5.1.12 Floating Clock Settings");
  p.mainWindow().mnuExit.click();
  EXPECT_EQ(p.loadedWindow(program::window::kFloatingSettings), nullptr);
}

TEST_F(ProgramTest, TheTickShowsTheOverlayOnceWhileItsLoadShowsAMessageBox) {
  setting("KRVClockSkin", "YES:NO:NO:NO");
  setting("KRVSkinLocal", "Missing.gif");
  setting("KRVDetachMode", "KRV:y:y:-1:-1");
  setting("KRVSkinDetach", "KRV_Default Skin.gif");
  images.add("/opt/korvane/Skins/KRV_Default Skin.gif", platform::Raster(150, 20));
  KorvaneProgram& p = make("-rs");
  ASSERT_TRUE(p.start());
  // While the overlay's box is open the main window's timer ticks on; the load is not done.
  bool shownWhileLoading = false;
  boxes.whileShown = [&p, &shownWhileLoading] {
    for (int i = 0; i < 6; ++i) p.mainWindow().SyncNow.tick();
    if (const ui::Form* overlay = p.loadedWindow(program::window::kTaskbarClock))
      shownWhileLoading |= overlay->visible();
  };
  scheduler.run(4000);
  EXPECT_EQ(p.loadedWindow(program::window::kTaskbarClock), nullptr);
  scheduler.run(1000);
  boxes.whileShown = nullptr;
  scheduler.run(20000);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "error 53File not found");
  EXPECT_EQ(std::count(hosts.log.begin(), hosts.log.end(), "host KRV_Clock"), 1);
  EXPECT_EQ(std::count(hosts.log.begin(), hosts.log.end(), "host KRV_DetachF"), 1);
  EXPECT_FALSE(shownWhileLoading);
  EXPECT_TRUE(p.loadedWindow(program::window::kTaskbarClock)->visible());
  EXPECT_NE(p.loadedWindow(program::window::kFloatingClock), nullptr);
}

}  // namespace
}  // namespace korvane::app::testing
