// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping windows on screen and the layered style.
#include "display/krv_layered.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_windows.h"

namespace korvane::display {
namespace {

TEST(KeepOnScreenTest, SnapsWithinTenTwipsAndMovesBackInside) {
  platform::FakeWindows windows;
  windows.screenWidth = 15000;
  windows.screenHeight = 12000;
  struct Case {
    ui::TwipsRect before;
    int left, top;
  };
  const Case cases[] = {
      {{5, 20, 3000, 2000}, 0, 20},            // left edge at 5 -> 0
      {{100, 9, 3000, 2000}, 100, 0},          // 9 below the top -> top
      {{100, 20, 3000, 2000}, 100, 20},        // 20 below the top stays
      {{12005, 500, 3000, 2000}, 12000, 500},  // 5 beyond the right edge -> flush
      {{11990, 500, 3000, 2000}, 11990, 500},  // 10 inside the right edge stays
      {{-400, -400, 3000, 2000}, 0, 0},
      {{100, 9990, 3000, 2000}, 100, 9990},  // 10 above the bottom stays
      {{100, 10001, 3000, 2000}, 100, 10000},
      {{100, 500, 3000, 13000}, 100, -1000},  // taller than the screen: top above it
  };
  for (const Case& c : cases) {
    ui::Form form("f");
    form.noteBounds(c.before);
    KeepOnScreen(form, windows);
    EXPECT_EQ(form.bounds().left, c.left) << c.before.left << "," << c.before.top;
    EXPECT_EQ(form.bounds().top, c.top) << c.before.left << "," << c.before.top;
  }
}

TEST(KeepOnScreenTest, KeepsWindowsOnTheScreenTheyAreOn) {
  platform::FakeWindows windows;
  // The primary screen, one to its right and one above its left half.
  windows.screens = {{0, 0, 15000, 12000}, {15000, 0, 19200, 16200}, {-3000, -9000, 12000, 9000}};
  struct Case {
    const char* what;
    ui::TwipsRect before;
    int left, top;
  };
  const Case cases[] = {
      {"inside the second screen stays", {20000, 5000, 3000, 2000}, 20000, 5000},
      {"5 from the second screen's left edge snaps", {15005, 5000, 3000, 2000}, 15000, 5000},
      {"below the primary's height on the taller one", {16000, 13000, 3000, 2000}, 16000, 13000},
      {"past the second screen's right edge", {33000, 500, 3000, 2000}, 31200, 500},
      {"on the screen above, at its negative origin", {-2500, -8000, 3000, 2000}, -2500, -8000},
      {"on a monitor that is gone", {40000, 30000, 3000, 2000}, 12000, 10000},
  };
  for (const Case& c : cases) {
    ui::Form form("f");
    form.noteBounds(c.before);
    KeepOnScreen(form, windows);
    EXPECT_EQ(form.bounds().left, c.left) << c.what;
    EXPECT_EQ(form.bounds().top, c.top) << c.what;
  }
}

TEST(KeepOnScreenTest, MinimisedWindowIsNotMoved) {
  platform::FakeWindows windows;
  ui::Form form("f");
  form.noteBounds({-500, -500, 3000, 2000});
  form.setWindowState(ui::WindowState::Minimized);
  KeepOnScreen(form, windows);
  EXPECT_EQ(form.bounds().left, -500);
}

TEST(SetTranslucencyTest, SetsOrClearsTheLayeredBitAndAlwaysSendsTheOpacity) {
  platform::FakeWindows windows;
  ui::Form form("f");
  windows.setWindowLong(form, platform::kGwlExStyle, 0x8);
  SetTranslucency(form, windows, true, 255);
  EXPECT_EQ(windows.getWindowLong(form, platform::kGwlExStyle), 0x8 | platform::kWsExLayered);
  SetTranslucency(form, windows, false, 200);
  EXPECT_EQ(windows.getWindowLong(form, platform::kGwlExStyle), 0x8);
  SetTranslucency(form, windows, true, 300);
  ASSERT_EQ(windows.layeredCalls.size(), 3u);
  EXPECT_EQ(windows.layeredCalls[0].alpha, 255);
  EXPECT_EQ(windows.layeredCalls[1].alpha, 200);
  EXPECT_EQ(windows.layeredCalls[2].alpha, 255) << "above 255 counts as opaque";
  for (const auto& call : windows.layeredCalls) {
    EXPECT_EQ(call.flags, platform::kLwaAlpha);
    EXPECT_EQ(call.key, 0u);
  }
}

}  // namespace
}  // namespace korvane::display
