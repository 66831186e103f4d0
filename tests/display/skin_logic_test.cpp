// SPDX-License-Identifier: GPL-3.0-or-later
// The clock text, skin names and the overlay and floating clock geometry.
#include <gtest/gtest.h>

#include "display/clock_text.h"
#include "display/floating_geometry.h"
#include "display/overlay_geometry.h"
#include "display/skin_name.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_images.h"
#include "platform/fake/fake_locale.h"

namespace korvane::display {
namespace {

// A locale whose designators are not " AM" / " PM".
struct DottedLocale : platform::FakeLocale {
  std::string timeDesignator(bool pm) const override { return pm ? "p.m." : "a.m."; }
};

CivilDateTime at(int h, int m, int s = 0) {
  return {2026, 12, 7, h, m, s, 0};
}

TEST(FormatClockTextTest, FlagsKindsAndDesignators) {
  const platform::FakeLocale us;
  const DottedLocale dotted;
  struct Case {
    CivilDateTime now;
    ClockTextFlags flags;  // 24-hour, seconds, AM/PM
    SkinKind kind;
    const platform::Locale& locale;
    const char* text;
  };
  const Case cases[] = {
      {at(9, 5), {false, false, true}, SkinKind::KRV, us, "9:05 AM AM"},
      {at(15, 5, 7), {false, true, false}, SkinKind::KRV, us, "3:05 PM:07"},
      {at(15, 5, 7), {false, true, true}, SkinKind::KRV, us, "3:05 PM:07 PM"},
      {at(15, 5, 7), {false, true, true}, SkinKind::AMP, us, "3:05:07 PM"},
      {at(15, 45), {true, false, true}, SkinKind::KRV, us, "15:45 PM"},
      {at(0, 7, 9), {true, true, false}, SkinKind::AMP, us, "00:07:09"},
      {at(0, 30), {false, false, false}, SkinKind::KRV, us, "12:30 AM"},
      {at(12, 30), {false, false, true}, SkinKind::AMP, us, "12:30 PM"},
      {at(15, 5), {false, false, false}, SkinKind::AMP, dotted, "3:05 p.m."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatClockText(c.now, c.flags, c.kind, c.locale), c.text) << c.text;
}

TEST(OverlayTooltipTest, NamesTheDay) {
  EXPECT_EQ(OverlayTooltip(at(15, 5), platform::FakeLocale()), " KRV: Monday, December 7, 2026 ");
}

TEST(SkinNameTest, FilesOfEntriesAndRefusedNames) {
  struct Case {
    const char* entry;
    std::optional<SkinFile> file;
  };
  const auto krv = [](const char* f) { return SkinFile{SkinKind::KRV, f}; };
  const auto amp = [](const char* f) { return SkinFile{SkinKind::AMP, f}; };
  const Case cases[] = {
      {"", krv("KRV_Default Skin.gif")},
      {"KRV_Blue Dots.gif", krv("KRV_Blue Dots.gif")},
      {"Korvane Green LCD [WINAMP/SMALL] ", amp("Korvane Green LCD/text.bmp")},
      {"AMP_Amber Shadow.bmp [WINAMP/SMALL] ", amp("AMP_Amber Shadow.bmp")},
      {"AMP_Tiny.GIF[WINAMP/SMALL]", amp("AMP_Tiny.GIF")},
      {"AMP_notes.txt [WINAMP/SMALL] ", amp("AMP_notes.txt/text.bmp")},
      {"KRV_a..b.gif", krv("KRV_a..b.gif")},
      {"../KRV_x.gif", std::nullopt},
      {". [WINAMP/SMALL] ", std::nullopt},
      {"sub/KRV_x.gif", std::nullopt},
      {"sub\\KRV_x.gif", std::nullopt},
      {".. [WINAMP/SMALL] ", std::nullopt},
      {"a/b.bmp [WINAMP/SMALL] ", std::nullopt},
      {" [WINAMP/SMALL] ", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveSkinName(c.entry), c.file) << c.entry;
}

TEST(SkinNameTest, LoadFindsTheFirstSkinsFolderThatHasTheFileAndReportsFailures) {
  platform::FakeFiles files;
  files.user = "/home/u/.local/share/korvane";
  platform::FakeImages images;
  images.add("/opt/korvane/Skins/Korvane Green LCD/text.bmp", platform::Raster(155, 12));
  images.add("/home/u/.local/share/korvane/Skins/KRV_Mine.gif", platform::Raster(150, 20));
  images.add("/home/u/.local/share/korvane/Skins/Korvane Green LCD/text.bmp",
             platform::Raster(1, 1));
  EXPECT_EQ(LoadSkinImage(images, files, "Korvane Green LCD [WINAMP/SMALL] ").image.width(), 155)
      << "the program folder's skin comes first";
  EXPECT_EQ(LoadSkinImage(images, files, "KRV_Mine.gif").image.width(), 150);
  images.asked.clear();
  EXPECT_EQ(SkinLoadMessage(LoadSkinImage(images, files, "KRV_None.gif")),
            "error 53File not found");
  EXPECT_EQ(images.asked.size(), 2u) << "both folders are asked";
  EXPECT_EQ(SkinLoadMessage(LoadSkinImage(images, files, "../../etc/x.gif")),
            "error 52Bad file name or number");
  EXPECT_EQ(images.asked.size(), 2u);  // the refused name is never looked for
}

TEST(SkinNameTest, TheUsersSkinsAreListedAfterTheProgramFoldersOnce) {
  platform::FakeFiles files;
  for (const char* name : {"KRV_B.gif", "AMP_Tiny.bmp", "Classic/text.bmp", "notes.txt"})
    files.putInProgramFolder(std::string("Skins/") + name, "x");
  for (const char* name : {"KRV_a.gif", "krv_b.GIF", "AMP_Mine", "Own/text.bmp", "Bare/x.bmp"})
    files.files[std::string("/home/u/k/Skins/") + name] = "x";
  using Names = std::vector<std::string>;
  EXPECT_EQ(ListSkinEntries(files, false), Names{"KRV_B.gif"}) << "no user folder";
  files.user = "/home/u/k";
  EXPECT_EQ(ListSkinEntries(files, false), (Names{"KRV_B.gif", "KRV_a.gif"}));
  EXPECT_EQ(ListSkinEntries(files, true, "|"),
            (Names{"KRV_B.gif", "AMP_Tiny.bmp|", "Classic|", "KRV_a.gif", "AMP_Mine|", "Own|"}));
}

TEST(OverlayGeometryTest, LoadRefitAndRestore) {
  const Rect notify{1000, 570, 1200, 600};
  const Rect docked{1100, 574, 1160, 598};  // bottom 2 pixels above the area's
  const Rect raised{1100, 570, 1160, 596};  // 4 pixels above
  struct Case {
    SkinKind kind;
    GlyphCell cell;
    Rect clock;
    Rect overlay;
    std::optional<Rect> atLoad, refit;
  };
  const Case cases[] = {
      {SkinKind::KRV,
       {10, 20},
       docked,
       {0, 0, 100, 20},
       Rect{100, 0, 250, 20},
       Rect{100, 0, 250, 20}},
      {SkinKind::AMP, {5, 6}, docked, {0, 0, 83, 19}, Rect{100, 0, 350, 19}, Rect{100, 0, 225, 19}},
      {SkinKind::KRV, {10, 20}, raised, {0, 0, 100, 20}, Rect{0, 0, 150, 20}, std::nullopt},
      // A clock lower than the cell at load: the overlay no higher than it.
      {SkinKind::KRV,
       {10, 30},
       docked,
       {0, 0, 100, 24},
       Rect{100, 0, 250, 30},
       Rect{100, 0, 250, 30}},
      {SkinKind::KRV, {0, 0}, docked, {0, 0, 0, 24}, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    const OverlayPlacement p = InitialOverlayPlacement(c.kind, c.cell, notify, c.clock, 15);
    EXPECT_EQ(p.overlay, c.overlay);
    EXPECT_EQ(p.clock, c.atLoad);
    EXPECT_EQ(RefitClockWindow(c.kind, c.cell, notify, c.clock), c.refit);
  }
  EXPECT_EQ(RestoredClockWindow(notify, docked), (Rect{100, 0, 160, 24}));
}

TEST(FloatingGeometryTest, SizePlaceDockAndSave) {
  const Rect icon{60, 60, 300, 300};
  EXPECT_EQ(SkinnedFloatingSize(6, {10, 18}, 315, icon, 15), (FloatingSize{900, 270, 1290, 315}));
  EXPECT_EQ(SkinnedFloatingSize(6, {0, 0}, 315, icon, 15), (FloatingSize{0, 0, 390, 315}));

  EXPECT_EQ(FontFloatingSize({315, 0, 3015, 300}, 450), (Extent{3018, 313}));
  EXPECT_EQ(FontFloatingSize({315, 0, 3015, 300}, 300), std::nullopt);

  const int right = 1280 * 15;
  EXPECT_EQ(FloatingStartPosition(-1, -1, 1290, 15, right, 15), (Position{right - 2115, 15}));
  EXPECT_EQ(FloatingStartPosition(100, 50, 1290, 15, right, 12), (Position{1200, 600}));

  const int w = 1290;
  const Rect primary{0, 0, right, 11520};
  EXPECT_EQ(DockedFloatingLeft({right - w - 900, 999}, w, primary), right - w - 825);
  EXPECT_EQ(DockedFloatingLeft({right - w - 900, 1000}, w, primary), std::nullopt);
  EXPECT_EQ(DockedFloatingLeft({right - w - 926, 0}, w, primary), std::nullopt);
  EXPECT_EQ(DockedFloatingLeft({right - w - 825, 0}, w, primary), std::nullopt);
  // A second monitor right of the primary and lower: its own right edge and top count.
  const Rect second{right, 3000, 2 * right, 14520};
  EXPECT_EQ(DockedFloatingLeft({2 * right - w - 900, 3999}, w, second), 2 * right - w - 825);
  EXPECT_EQ(DockedFloatingLeft({2 * right - w - 900, 4000}, w, second), std::nullopt);

  EXPECT_EQ(MovedFloatingPosition({1500, 750}, 15, 100, 50), std::nullopt);
  EXPECT_EQ(MovedFloatingPosition({1515, 750}, 15, 100, 50), (Position{101, 50}));
}

}  // namespace
}  // namespace korvane::display
