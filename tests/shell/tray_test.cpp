// SPDX-License-Identifier: GPL-3.0-or-later
// Minimise to the tray, restore, the tray's mouse messages and its tip and picture.
#include "common/tip_field.h"
#include "shell/nxo_krv_fixture.h"

namespace korvane::shell::testing {
namespace {

using TrayTest = MainWindowFixture;

TEST_F(TrayTest, PictureFollowsWhatHappenedNotTheWordsOfTheTip) {
  NXO_KRV& w = start("-rs");
  w.Servers.addItem("Tokyo AP", 26);
  w.Servers.select(2);
  w.setWindowState(ui::WindowState::Minimized);
  struct Case {
    const char* tip;
    TrayPicture asked;
    int picture;
  };
  const Case cases[] = {
      {" Checking Time Server: Tokyo AP ", TrayPicture::Checking, 26},
      {" Time Adjusted by 3 second(s) ", TrayPicture::Adjusted, kAdjustedPicture},
      {" Atomically Correct: No Adjustment! ", TrayPicture::Unchanged, kAdjustedPicture},
      {"KRV - No Adjustment: 12/8/2026", TrayPicture::Failed, kFailedPicture},
      // A server's text that holds the words of another outcome changes nothing.
      {" Checking Time Server: Adjusted by Us AP ", TrayPicture::Checking, 26},
      {"KRV - No Adjustment: Checking Adjusted", TrayPicture::Failed, kFailedPicture}};
  for (const Case& c : cases) {
    w.setTip(withNul(c.tip));
    w.UpdateSZTIP(c.asked);
    EXPECT_EQ(w.trayPicture, c.picture) << c.tip;
    EXPECT_EQ(shell.calls.back().op, "modify") << c.tip;
    EXPECT_EQ(shell.calls.back().iconFile,
              c.picture == kFailedPicture ? "images/korvane-failed-32.png" : w.IML.file(c.picture));
  }
}

TEST_F(TrayTest, SameTipIsSentOnceAndNothingIsSentWhileShown) {
  NXO_KRV& w = start("-rs");
  w.setTip(withNul(" Time Adjusted by 1 second(s) "));
  w.UpdateSZTIP(TrayPicture::Unchanged);
  EXPECT_EQ(shell.count("modify"), 0);
  w.setWindowState(ui::WindowState::Minimized);
  EXPECT_EQ(shell.calls.back().tip, " Time Adjusted by 1 second(s) ")
      << "the icon is added with the tip written while shown";
  EXPECT_EQ(shell.calls.back().iconFile, "images/korvane-32.png")
      << "with the picture chosen last while minimised";
  w.UpdateSZTIP(TrayPicture::Unchanged);
  w.UpdateSZTIP(TrayPicture::Unchanged);
  EXPECT_EQ(shell.count("modify"), 1);
}

TEST_F(TrayTest, LongStatusLosesItsNulAndShowsSixtyFourCharacters) {
  NXO_KRV& w = start("-rs");
  w.setWindowState(ui::WindowState::Minimized);
  const std::string status(70, 'x');
  w.setTip(withNul(" " + status + " "));
  w.UpdateSZTIP(TrayPicture::Unchanged);
  EXPECT_EQ(shell.calls.back().tip, " " + status.substr(0, 63));
  w.setTip("KRV - No Adjustment: 12/8/2026 4:05:45 PM");
  w.UpdateSZTIP(TrayPicture::Unchanged);
  EXPECT_EQ(shell.calls.back().tip.size(), 64u) << "no NUL: the padding shows";
}

TEST_F(TrayTest, MinimiseHidesAndAddsRestoreDeletesAndShows) {
  NXO_KRV& w = start("-rs2");
  ASSERT_TRUE(w.visible());
  w.Mini.click();
  EXPECT_FALSE(w.visible());
  EXPECT_EQ(shell.calls.back().op, "add");
  shell.trayMessage(platform::kTrayLeftButtonUp);
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.windowState(), ui::WindowState::Normal);
  EXPECT_EQ(shell.calls.back().op, "delete");
  shell.trayMessage(platform::kTrayLeftDoubleClick);  // second half of a double click
  EXPECT_TRUE(w.visible());
  w.Mini.click();
  shell.trayMessage(platform::kTrayLeftDoubleClick);
  EXPECT_TRUE(w.visible());
}

TEST_F(TrayTest, ShowKorvaneAsksForTheForegroundOnceTheWindowIsShown) {
  NXO_KRV& w = start("-rs2");
  w.Mini.click();
  bool visibleWhenAsked = false;
  w.ForegroundRequested.connect([&] { visibleWhenAsked = w.visible(); });
  w.mnuShow.click();
  EXPECT_TRUE(visibleWhenAsked);
}

TEST_F(TrayTest, WithoutTrayMinimiseKeepsAnOrdinaryMinimisedWindow) {
  shell.hasTray = false;
  NXO_KRV& w = start("-rs2");
  w.Mini.click();
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.windowState(), ui::WindowState::Minimized);
  EXPECT_EQ(shell.count("add"), 0);
}

TEST_F(TrayTest, RightButtonOpensTheMenuWithShowAsDefault) {
  NXO_KRV& w = start("-rs2");
  w.Mini.click();
  ui::Menu* opened = nullptr;
  ui::MenuItem* defaultItem = nullptr;
  int foreground = 0;
  w.PopupRequested.connect([&](ui::Menu& m, ui::MenuItem* d) {
    opened = &m;
    defaultItem = d;
  });
  w.ForegroundRequested.connect([&] { ++foreground; });
  for (int ignored : {512, 513, 516, 518, 519, 520}) shell.trayMessage(ignored);
  EXPECT_EQ(opened, nullptr);
  shell.trayMessage(platform::kTrayRightButtonUp);
  ASSERT_EQ(opened, &w.mnuMain);
  EXPECT_EQ(defaultItem, &w.mnuShow);
  EXPECT_EQ(foreground, 1);
  EXPECT_FALSE(w.visible());
  std::vector<std::string> captions;
  for (ui::MenuItem* item : w.mnuMain.items()) captions.push_back(item->caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"Show Korvane", "-", "Synchronize", "-", "Help",
                                                "Online Help", "-", "Exit"}));
}

TEST_F(TrayTest, MenuSynchronizeRunsWithoutShowingTheWindow) {
  NXO_KRV& w = start("-rs2");
  w.Mini.click();
  w.mnuSync.click();
  EXPECT_TRUE(w.synchronising());
  EXPECT_FALSE(w.visible());
  EXPECT_EQ(shell.calls.back().tip, " Checking Time Server: Loopback Server NA ");
  EXPECT_EQ(shell.calls.back().iconFile, w.IML.file(27));
}

// The online page lies on the update server; without a usable one it is the local page.
TEST_F(TrayTest, HelpItemsOpenTheLocalPageAndTheOnlinePage) {
  NXO_KRV& w = start("-rs");
  w.mnuhelp.click();
  EXPECT_EQ(shell.opened.back(), "/opt/korvane/help/KRV_Help.htm");
  const struct {
    std::string host, opened;
  } cases[] = {
      {"", "/opt/korvane/help/KRV_Help.htm"},
      {"updates.example.org", "http://updates.example.org/Korvane"},
      {"127.0.0.1:8080", "http://127.0.0.1:8080/Korvane"},
      {"[::1]:81", "http://[::1]:81/Korvane"},
      {"bad host", "/opt/korvane/help/KRV_Help.htm"},
  };
  for (const auto& c : cases) {
    environment.host = c.host;
    w.mnuOHelp.click();
    EXPECT_EQ(shell.opened.back(), c.opened) << c.host;
  }
  EXPECT_EQ(shell.opened.size(), 6u);
}

TEST_F(TrayTest, AboutShowsTitleAndVersionModeless) {
  NXO_KRV& w = start("-rs2");
  w.About.click();
  EXPECT_TRUE(w.frmAbout.visible());
  EXPECT_TRUE(w.visible());
  EXPECT_EQ(w.frmAbout.lblVersion.caption(), "Version 5.1.12");
  EXPECT_NE(w.frmAbout.lblTitle.caption().find("Korvane"), std::string::npos);
  w.frmAbout.cmdOK.click();
  EXPECT_FALSE(w.frmAbout.visible());
}

}  // namespace
}  // namespace korvane::shell::testing
