// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog: what it shows on opening, what each choice changes in memory, and what
// its close writes, in order, and only after a change.
#include "options_fixture.h"

namespace korvane::options::testing {
namespace {

using KrvConfigTest = OptionsFixture;

TEST_F(KrvConfigTest, OpeningAndClosingWithoutAChangeWritesNothing) {
  struct Case {
    bool overlay;
    bool clockShownBefore;
    std::vector<std::string> requests;
  };
  const Case cases[] = {
      {false, false, {}},
      // Ticking the box on opening brings back an overlay that was not shown...
      {true, false, {"show KRV_Clock"}},
      // ...and leaves one that is.
      {true, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.overlay ? (c.clockShownBefore ? "overlay shown" : "overlay gone") : "off");
    program.log.clear();
    program.clock.unload(ui::kCloseFromCode);
    if (c.clockShownBefore) {
      program.clock.load();
      program.clock.show();
    }
    registry.log.clear();
    settings().clockOverlay = c.overlay;
    settings().runAtStartup = settings().openMinimised = settings().clockAmPm = true;
    KRV_Config& d = open();
    EXPECT_TRUE(d.eWCS.ticked() == c.overlay && d.RunKRV.ticked() && d.OpenMin.ticked());
    d.SelTimeZone.click();  // not a change
    close();
    EXPECT_FALSE(d.loaded());
    EXPECT_EQ(program.log, c.requests);
    EXPECT_EQ(registry.log, std::vector<std::string>{});
  }
  EXPECT_EQ(shell.dateTimeSettingsOpened, 3);
}

TEST_F(KrvConfigTest, CloseAfterAChangeWritesTheOptionsInOrder) {
  settings().clock24Hour = true;
  settings().runValuePresent = settings().runAtStartup = true;
  KRV_Config& d = open();
  d.Protos.choose(3);
  d.EnterPressed();  // presses Apply
  EXPECT_FALSE(d.loaded());
  EXPECT_EQ(registry.log, (std::vector<std::string>{
                              "OpenMinimized=NO", "Protocol=Default SNTP Protocol",
                              "KRVClockSkin=NO:YES:NO:NO", "KRVSkinLocal=KRV_Default Skin.gif"}));
  EXPECT_EQ(program.log, std::vector<std::string>{"use server choice"});
}

// The Run value is compared with what start-up found, never with what the dialog showed.
TEST_F(KrvConfigTest, TheRunValueIsWrittenOrDeletedOnlyAgainstItsStateAtStart) {
  struct Case {
    bool presentAtStart;
    std::vector<int> clicks;  // the box's values, one after another
    std::string runWrite;     // "" for none
  };
  const Case cases[] = {
      {false, {1}, "Korvane=/usr/bin/korvane"},
      {true, {0}, "delete Korvane"},
      {true, {0, 1}, ""},
      {false, {1, 0}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.clicks));
    settings().runValuePresent = settings().runAtStartup = c.presentAtStart;
    registry.log.clear();
    KRV_Config& d = open();
    for (int v : c.clicks) d.RunKRV.setValue(v);
    close();
    std::vector<std::string> runWrites;
    for (const std::string& w : registry.log)
      if (w.find("Korvane") != std::string::npos) runWrites.push_back(w);
    EXPECT_EQ(runWrites, c.runWrite.empty() ? std::vector<std::string>{}
                                            : std::vector<std::string>{c.runWrite});
    EXPECT_EQ(registry.log.size(), 4u + runWrites.size()) << "the close still saves the rest";
  }
}

TEST_F(KrvConfigTest, TheRegionShowsOnlyAKnownCodeAndAChoiceTakesEffectAtOnce) {
  settings().regionCode = "EU";
  EXPECT_EQ(open().Regions.text(), "EU - Europe [UK, Spain, Italy, France]");
  settings().regionCode = "XX";
  KRV_Config& d = open();
  EXPECT_EQ(d.Regions.text(), "North America NA");
  EXPECT_EQ(settings().regionCode, "XX") << "kept until the user picks an entry";
  EXPECT_TRUE(program.log.empty());
  d.Regions.choose(6);
  EXPECT_EQ(settings().regionCode, "AP");
  EXPECT_EQ(program.log, std::vector<std::string>{"use server choice"});
  EXPECT_TRUE(d.changed);
}

TEST_F(KrvConfigTest, TheUpdateButtonReachesTheServiceOnlyWhileTheDialogExists) {
  std::vector<ui::Control*> attached;
  int checks = 0;
  const ui::ScopedConnection a =
      state.updates.CheckUpdateButton.connect([&](ui::Control* b) { attached.push_back(b); });
  const ui::ScopedConnection c = state.updates.CheckForUpdates.connect([&] { ++checks; });
  KRV_Config& d = open();
  d.CheckUpdate.click();
  close();
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(attached, (std::vector<ui::Control*>{&d.CheckUpdate, nullptr}));
  EXPECT_TRUE(registry.log.empty()) << "a check is not a change";
}

}  // namespace
}  // namespace korvane::options::testing
