// SPDX-License-Identifier: GPL-3.0-or-later
// The taskbar overlay on a stand-in clock window: its load, first paint, minute re-fit and
// unload, and a skin that fails to load.
#include "display/krv_clock.h"

#include "display_fixture.h"
#include "platform/second_beat.h"

namespace korvane::display::testing {
namespace {

class KrvClockTest : public DisplayFixture {
 protected:
  // The notification area at the bottom right of the screen, its clock 64 x height at its right.
  void standIn(int clockBottom = 768, int height = 20) {
    windows.taskbarClock = platform::TaskbarClock{
        {900, 768 - height, 1024, 768}, {960, clockBottom - height, 1024, clockBottom}, true};
  }
  KRV_Clock& load() {
    if (overlay) scheduler.forget(*overlay);
    overlay = std::make_unique<KRV_Clock>(services);
    overlay->load();
    scheduler.watch(*overlay);
    return *overlay;
  }
  Colour surfacePixel(int x, int y) const { return overlay->picWindow.picture().pixel(x, y); }
  std::unique_ptr<KRV_Clock> overlay;
};

TEST_F(KrvClockTest, LoadFitsTheClockWindowAndTheFirstPaintRefitsAndDraws) {
  struct Case {
    const char* skin;
    int clockBottom;
    Rect atLoad;
    std::vector<Rect> afterPaint;  // every move of the clock window so far
    int overlayWidthPixels;
    int overlayHeightPixels;  // no higher than the clock window fitted to the skin
    int clockHeight = 20;
  };
  const Case cases[] = {
      // 15 cells of 10 x 20: 150 x 20 at load, the same again on the first paint (no move).
      {"KRV_Strip.gif", 768, {60, 0, 210, 20}, {{60, 0, 210, 20}}, 100, 20},
      // A clock 24 high: fitted to the cell's 18, and the overlay with it.
      {"KRV_Low.gif", 768, {60, 0, 210, 18}, {{60, 0, 210, 18}}, 100, 18, 24},
      // A Winamp font: 250 x 19 at load, 125 x 19 from the first paint on.
      {"Font [WINAMP/SMALL]",
       768,
       {60, 0, 310, 19},
       {{60, 0, 310, 19}, {60, 0, 185, 19}},
       1250 / 15,
       19},
      // A clock 4 pixels above the area's bottom goes to (0, 0) and is never re-fitted.
      {"KRV_Strip.gif", 764, {0, 0, 150, 20}, {{0, 0, 150, 20}}, 100, 20},
  };
  addSkin("KRV_Strip.gif", strip(10, 20));
  addSkin("KRV_Low.gif", strip(10, 18));
  addSkin("Font/text.bmp", platform::Raster(155, 74, kSkinBackground));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.skin);
    windows.clockMoves.clear();
    standIn(c.clockBottom, c.clockHeight);
    state.settings.overlaySkin = c.skin;
    KRV_Clock& w = load();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(windows.adopted, &w);
    EXPECT_EQ(windows.clockMoves, std::vector<Rect>{c.atLoad});
    EXPECT_EQ(w.clientWidth(), c.overlayWidthPixels * 15);
    EXPECT_EQ(w.clientHeight(), c.overlayHeightPixels * 15);
    EXPECT_TRUE(w.tmrMainLoop.enabled());
    EXPECT_EQ(w.background(), 0u) << "black until the first drawing";

    w.Paint();
    EXPECT_EQ(windows.clockMoves, c.afterPaint);
    EXPECT_EQ(w.background(), kSkinBackground);
    EXPECT_EQ(w.TT_LBL.toolTipText(), " KRV: Monday, December 7, 2026 ");
  }
}

TEST_F(KrvClockTest, TheClockTextIsDrawnOnceASecondIntoTheWindowsSurface) {
  standIn();
  addSkin("KRV_Default Skin.gif", strip(10, 20));
  state.settings.overlaySkin = "";  // the default skin
  state.settings.clock24Hour = true;
  KRV_Clock& w = load();
  w.Paint();
  // "09:05" from x = 3: cells 0, 9, ":", 0, 5; the rest is the skin's background.
  const int cells[] = {0, 9, 10, 0, 5};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(surfacePixel(3 + 10 * i + 5, 10), cellColour(cells[i]));
  EXPECT_EQ(surfacePixel(1, 10), kSkinBackground);
  EXPECT_EQ(surfacePixel(3 + 50 + 1, 10), kSkinBackground);
  EXPECT_EQ(w.picWindow.picture().width(), w.clientWidth() / 15);
  scheduler.run(2000 + platform::kAfterSecondMs);  // just after 09:06:00
  EXPECT_EQ(surfacePixel(3 + 40 + 5, 10), cellColour(6));
}

TEST_F(KrvClockTest, TheMinuteRefitFollowsAMovedTaskbarAndTheUnloadRestoresTheClock) {
  standIn();
  addSkin("KRV_Default Skin.gif", strip(10, 20));
  KRV_Clock& w = load();
  w.Paint();
  ASSERT_EQ(windows.clockMoves.size(), 1u);
  // The panel grows: the area moves left and the shell gives its clock its own size again.
  windows.taskbarClock->notificationArea = {880, 748, 1024, 768};
  windows.taskbarClock->clock = {950, 748, 1024, 768};
  scheduler.run(1000);  // 09:05:59: drawn only
  EXPECT_EQ(windows.clockMoves.size(), 1u);
  scheduler.run(10 * 60 * 1000);
  ASSERT_EQ(windows.clockMoves.size(), 2u) << "re-fitted at 09:06:00, unchanged after";
  EXPECT_EQ(windows.clockMoves[1], (Rect{70, 0, 220, 20}));

  // A 30-pixel panel appears below: the stand-in's corner moves, its place in the area does not.
  windows.taskbarClock->notificationArea = {880, 718, 1024, 738};
  windows.taskbarClock->clock = {950, 718, 1100, 738};
  scheduler.run(60 * 1000);
  ASSERT_EQ(windows.clockMoves.size(), 3u) << "the overlay follows the corner";
  EXPECT_EQ(windows.clockMoves[2], (Rect{70, 0, 220, 20}));
  scheduler.run(60 * 1000);
  EXPECT_EQ(windows.clockMoves.size(), 3u);

  EXPECT_TRUE(w.unload(ui::kCloseFromCode));
  EXPECT_FALSE(w.tmrMainLoop.enabled());
  EXPECT_EQ(windows.clockMoves.back(), (Rect{60, 0, 124, 20})) << "offset and size at load";
}

TEST_F(KrvClockTest, ASkinThatFailsToLoadIsReportedOnceAndDrawsNothing) {
  // A strip whose 15 cells are wider than the screen (1024 pixels) would make a huge window.
  addSkin("KRV_Huge.gif", strip(70, 20));
  const std::pair<const char*, const char*> cases[] = {
      {"Missing.gif", "error 53File not found"},
      {"KRV_Huge.gif", "error 480Skin larger than the screen"}};
  for (const auto& [skin, message] : cases) {
    SCOPED_TRACE(skin);
    standIn();
    boxes.shown.clear();
    state.settings.overlaySkin = skin;
    KRV_Clock& w = load();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, message);
    EXPECT_EQ(boxes.shown[0].title, "Korvane");
    EXPECT_EQ(boxes.shown[0].buttons, platform::MsgButtons::OK);
    w.Paint();
    scheduler.run(10 * 60 * 1000);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(windows.clockMoves.empty()) << "the taskbar's clock keeps its size";
    const platform::Raster& surface = w.picWindow.picture();
    EXPECT_EQ(surface, platform::Raster(surface.width(), surface.height(), 0));
  }
}

TEST_F(KrvClockTest, WithoutAClockWindowNothingMovesAndTheDoubleClickOpensTheSettings) {
  addSkin("KRV_Default Skin.gif", strip(10, 20));
  KRV_Clock& w = load();
  w.Paint();
  scheduler.run(5000);
  EXPECT_EQ(windows.adopted, nullptr);
  EXPECT_TRUE(windows.clockMoves.empty());
  w.TT_LBL.DblClick();
  EXPECT_EQ(shell.dateTimeSettingsOpened, 1);
  w.unload(ui::kCloseFromCode);
  EXPECT_TRUE(windows.clockMoves.empty());
}

}  // namespace
}  // namespace korvane::display::testing
