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
