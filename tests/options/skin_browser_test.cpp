// SPDX-License-Identifier: GPL-3.0-or-later
// The skin browser: the list of skins, their images, the preview and the applying of a skin.
#include "options_fixture.h"

namespace korvane::options::testing {
namespace {

using SkinBrowserTest = OptionsFixture;

// A strip whose cell k (10 pixels wide) is filled with colour k + 1.
platform::Raster numberedStrip() {
  platform::Raster strip(150, 12);
  for (int k = 0; k < 15; ++k) strip.fill({k * 10, 0, k * 10 + 10, 12}, Colour(k + 1));
  return strip;
}

TEST_F(SkinBrowserTest, TheListHoldsStripsThenWinampFilesThenWinampFolders) {
  skin("KRV_Blue.gif", platform::Raster(150, 12));
  skin("KRV_Wide.gif", platform::Raster(240, 16));
  skin("AMP_Tiny.bmp", platform::Raster(155, 74));
  skin("Classic/text.bmp", platform::Raster(155, 74));
  files.files[std::string(kSkins) + "AMP_notes.txt"] = "notes";
  files.files[std::string(kSkins) + "Empty/readme.txt"] = "";
  KRV_Config& d = open();
  EXPECT_EQ(d.SkinCmb.items(),
            (std::vector<std::string>{"KRV_Blue.gif", "KRV_Default Skin.gif", "KRV_Wide.gif",
                                      "AMP_notes.txt [WINAMP/SMALL] ",
                                      "AMP_Tiny.bmp [WINAMP/SMALL] ", "Classic [WINAMP/SMALL] "}));
  EXPECT_EQ(d.SkinCmb.text(), "KRV_Default Skin.gif");
  EXPECT_FALSE(d.ChangeSkin.enabled());

  // A Winamp file without a picture extension names a folder: its load fails by number.
  choose("AMP_notes.txt [WINAMP/SMALL] ");
  EXPECT_EQ(images.asked.back(), std::string(kSkins) + "AMP_notes.txt/text.bmp");
  EXPECT_EQ(boxTexts(), std::vector<std::string>{"53: File not found"});
  EXPECT_FALSE(d.ChangeSkin.enabled()) << "nothing loaded that the overlay could draw";
  choose("Classic [WINAMP/SMALL] ");
  EXPECT_EQ(images.asked.back(), std::string(kSkins) + "Classic/text.bmp");
  EXPECT_TRUE(d.ChangeSkin.enabled());
  EXPECT_EQ(d.PreViewSkin.geometry(), (ui::TwipsRect{2490, 660, 3285, 495}))
      << "a Winamp font keeps the box's own size";
  choose("KRV_Blue.gif");
  EXPECT_EQ(d.PreViewSkin.geometry(), (ui::TwipsRect{2490, 660, 150 * 15, 12 * 15}));
  choose("KRV_Wide.gif");
  EXPECT_EQ(d.PreViewSkin.geometry(), (ui::TwipsRect{2490, 660, 3285, 495}))
      << "a 240-pixel strip stays inside the frame";
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(SkinBrowserTest, SkinsLoadByTheirNameOnDiskAndOnlyLoadableNamesAreListed) {
  skin("Loud/TEXT.BMP", platform::Raster(155, 74));
  skin("KRV_a..b.gif", platform::Raster(150, 12));
  skin("KRV_back\\slash.gif", platform::Raster(150, 12));
  KRV_Config& d = open();
  EXPECT_EQ(d.SkinCmb.items(), (std::vector<std::string>{"KRV_a..b.gif", "KRV_Default Skin.gif",
                                                         "Loud [WINAMP/SMALL] "}));
  for (const char* entry : {"Loud [WINAMP/SMALL] ", "KRV_a..b.gif"}) {
    choose(entry);
    EXPECT_TRUE(d.ChangeSkin.enabled()) << entry;
  }
  EXPECT_EQ(images.asked.at(images.asked.size() - 2), std::string(kSkins) + "Loud/TEXT.BMP");
  EXPECT_EQ(boxTexts(), std::vector<std::string>{});
}

TEST_F(SkinBrowserTest, AStoredSkinThatFailsToLoadIsReportedAndTheListStillWorks) {
  settings().overlaySkin = "KRV_Gone.gif";
  KRV_Config& d = open();
  EXPECT_EQ(boxTexts(), std::vector<std::string>{
                            "curskin: 53: File not found: /opt/korvane/Skins/KRV_Gone.gif"});
  EXPECT_EQ(d.SkinCmb.text(), "KRV_Gone.gif");
  choose("KRV_Default Skin.gif");
  EXPECT_TRUE(d.ChangeSkin.enabled());

  // No stored skin reads as the default; a name stored in another case loads the file on disk.
  for (const char* stored : {"", "krv_default skin.GIF"}) {
    settings().overlaySkin = stored;
    images.asked.clear();
    EXPECT_EQ(open().SkinCmb.text(), *stored ? stored : "KRV_Default Skin.gif");
    EXPECT_EQ(images.asked, std::vector<std::string>{std::string(kSkins) + "KRV_Default Skin.gif"});
  }
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(SkinBrowserTest, AChosenSkinIsSavedOnlyWithAnotherChange) {
  skin("KRV_Blue.gif", platform::Raster(150, 12));
  open();
  choose("KRV_Blue.gif");
  close();
  EXPECT_TRUE(registry.log.empty());
  EXPECT_EQ(settings().overlaySkin, "KRV_Default Skin.gif");
  EXPECT_EQ(open().SkinCmb.text(), "KRV_Default Skin.gif") << "the choice is gone";

  choose("KRV_Blue.gif");
  dialog->OpenMin.setValue(1);
  close();
  EXPECT_EQ(registry.log.back(), "KRVSkinLocal=KRV_Blue.gif");
  EXPECT_EQ(settings().overlaySkin, "KRV_Blue.gif");
}

TEST_F(SkinBrowserTest, UseSkinAsksOnlyForAnotherSkinWhileTheSkinIsEnabled) {
  skin("KRV_Blue.gif", platform::Raster(150, 12));
  struct Case {
    const char* name;
    bool enabled;
    const char* entry;
    platform::MsgResult answer;
    std::vector<std::string> boxes;
    std::vector<std::string> requests;  // after opening
    const char* selected;
    bool changed;
  };
  const std::string ask = "Implement New KRV Clock Skin Now?";
  const std::string warn = "You must enable KRV Clock Skins first...";
  const Case cases[] = {
      {"the same skin",
       true,
       "KRV_Default Skin.gif",
       platform::MsgResult::Yes,
       {},
       {},
       "KRV_Default Skin.gif",
       false},
      {"skins off",
       false,
       "KRV_Blue.gif",
       platform::MsgResult::Yes,
       {warn},
       {},
       "KRV_Default Skin.gif",
       false},
      {"answered no",
       true,
       "KRV_Blue.gif",
       platform::MsgResult::No,
       {ask},
       {},
       "KRV_Default Skin.gif",
       true},
      {"answered yes",
       true,
       "KRV_Blue.gif",
       platform::MsgResult::Yes,
       {ask},
       {"unload KRV_Clock", "show KRV_Clock"},
       "KRV_Blue.gif",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings().clockOverlay = c.enabled;
    settings().overlaySkin = "KRV_Default Skin.gif";
    boxes.shown.clear();
    KRV_Config& d = open();
    choose(c.entry);
    program.log.clear();
    if (!c.boxes.empty()) boxes.answer(c.answer);
    d.ChangeSkin.click();
    EXPECT_EQ(boxTexts(), c.boxes);
    EXPECT_EQ(program.log, c.requests);
    EXPECT_EQ(settings().overlaySkin, c.selected);
    EXPECT_EQ(d.changed, c.changed);
    EXPECT_EQ(d.ChangeSkin.enabled(), c.requests.empty()) << "disabled once applied";
  }
  EXPECT_EQ(events.passes, 1) << "pending events run between unload and show";
}

TEST_F(SkinBrowserTest, TheSkinSwitchShowsOrUnloadsTheTaskbarClock) {
  settings().clockOverlay = true;
  KRV_Config& d = open();
  ASSERT_TRUE(program.clock.visible());
  d.eWCS.setValue(0);
  EXPECT_FALSE(settings().clockOverlay);
  EXPECT_FALSE(program.clock.loaded());
  d.eWCS.setValue(1);
  EXPECT_TRUE(settings().clockOverlay && program.clock.visible());
  EXPECT_EQ(program.log,
            (std::vector<std::string>{"show KRV_Clock", "unload KRV_Clock", "show KRV_Clock"}));
  EXPECT_TRUE(d.changed);
}

// 9:05 in the morning, 12-hour time without seconds, with AM/PM.
TEST_F(SkinBrowserTest, AStripPreviewDrawsTheDigitsThenTheMarkOnTheClearedBox) {
  skin("KRV_Numbered.gif", numberedStrip());
  settings().clockAmPm = true;
  KRV_Config& d = open();
  choose("KRV_Numbered.gif");
  d.PClockSkin.click();
  const platform::Raster& p = d.PreViewPic.picture();
  ASSERT_EQ(p.width(), 2265 / 15);
  const int cells[] = {9, 10, 0, 5, 11, 12};  // 9 : 0 5, then the two-cell AM mark
  for (int x = 0; x < 6; ++x) EXPECT_EQ(p.pixel(x * 10 + 5, 5), Colour(cells[x] + 1)) << x;
  EXPECT_EQ(p.pixel(65, 5), d.previewBackground());
  EXPECT_EQ(p.pixel(5, 20), d.previewBackground()) << "below the strip";
}

TEST_F(SkinBrowserTest, APreviewDrawsInTheKindOfTheSkinItsImageCameFrom) {
  platform::Raster font(155, 74, makeColour(1, 2, 3));
  font.setPixel(145, 7, makeColour(9, 9, 9));
  skin("Classic/text.bmp", font);
  KRV_Config& d = open();
  choose("Classic [WINAMP/SMALL] ");
  d.SkinCmb.setText("KRV_Default Skin.gif");  // typed, not chosen: the image stays the font's
  d.PClockSkin.click();
  EXPECT_EQ(d.previewBackground(), makeColour(9, 9, 9)) << "the font's background";
  const platform::Raster& p = d.PreViewPic.picture();
  EXPECT_EQ(p.pixel(5, 0), makeColour(1, 2, 3)) << "the 7 of line 1";
  EXPECT_EQ(p.pixel(5, 7), makeColour(1, 2, 3)) << "the D of line 2";
  EXPECT_EQ(p.pixel(100, 0), makeColour(9, 9, 9)) << "past the 14 characters of line 1";
}

}  // namespace
}  // namespace korvane::options::testing
