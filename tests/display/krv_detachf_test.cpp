// SPDX-License-Identifier: GPL-3.0-or-later
// The floating clock: where it opens, its docking, what its close saves, and its mouse.
#include "display/krv_detachf.h"

#include "display_fixture.h"
#include "platform/second_beat.h"

namespace korvane::display::testing {
namespace {

class KrvDetachFTest : public DisplayFixture {
 protected:
  KrvDetachFTest() {
    addSkin("KRV_Default Skin.gif", strip(10, 20));
    state.settings.floatingX = state.settings.floatingY = -1;
    state.settings.floatingOnTop = true;
  }
  KRV_DetachF& load() {
    if (clockWindow) scheduler.forget(*clockWindow);
    clockWindow = std::make_unique<KRV_DetachF>(services);
    clockWindow->PopupRequested.connect([this](ui::Menu& menu, ui::MenuItem* item) {
      popups.push_back({&menu, item});
    });
    clockWindow->load();
    scheduler.watch(*clockWindow);
    return *clockWindow;
  }
  int screenRight() const { return windows.screenWidth; }
  std::unique_ptr<KRV_DetachF> clockWindow;
  std::vector<std::pair<ui::Menu*, ui::MenuItem*>> popups;
};

TEST_F(KrvDetachFTest, OpensAtItsSavedPlaceOrNearTheTopRight) {
  struct Case {
    int x, y;
    bool layered;
    bool defaultPlace;
  };
  const Case cases[] = {{-1, -1, false, true}, {100, 50, true, false}, {-1, 50, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    state.settings.floatingX = c.x;
    state.settings.floatingY = c.y;
    state.settings.layeredCapable = c.layered;
    state.settings.opacity = 180;
    windows.layeredCalls.clear();
    KRV_DetachF& w = load();
    const ui::TwipsRect b = w.bounds();
    if (c.defaultPlace)
      EXPECT_EQ((std::pair{b.left, b.top}), (std::pair{screenRight() - (b.width + 825), 15}));
    else
      EXPECT_EQ((std::pair{b.left, b.top}), (std::pair{1500, 750}));
    EXPECT_TRUE(w.visible());
    EXPECT_TRUE(w.topmost());
    // "9:05 AM" without its mark: four cells of 10 x 20 right of the icon.
    EXPECT_EQ(w.picDraw.geometry().width, 4 * 10 * 15);
    EXPECT_EQ(w.clientHeight(), 20 * 15 + 15);
    EXPECT_EQ(w.clientWidth(), w.picDraw.geometry().left + 4 * 10 * 15 + 5 * 15);
    ASSERT_EQ(windows.layeredCalls.size(), c.layered ? 1u : 0u);
    if (c.layered) {
      EXPECT_EQ(windows.layeredCalls[0].alpha, 180);
    }
  }
}

TEST_F(KrvDetachFTest, APlaceOnAScreenThatIsGoneComesBack) {
  state.settings.floatingX = 1500;  // on a second monitor no longer there
  state.settings.floatingY = 50;
  KRV_DetachF& w = load();
  EXPECT_EQ(w.bounds().left, screenRight() - w.bounds().width);
}

TEST_F(KrvDetachFTest, ANearTopRightClockDocksOnTheNextTick) {
  struct Case {
    int top;
    bool docks;
  };
  for (const Case& c : {Case{500, true}, Case{1000, false}}) {
    SCOPED_TRACE(c.top);
    KRV_DetachF& w = load();
    const int width = w.bounds().width;
    w.move(screenRight() - width - 900, c.top);
    scheduler.run(1000 + platform::kAfterSecondMs);
    EXPECT_EQ(w.bounds().left, screenRight() - width - (c.docks ? 825 : 900));
  }
}

TEST_F(KrvDetachFTest, OnASecondMonitorTheClockStaysAndDocksAgainstThatMonitor) {
  const int px = 15, right = 1280 * px;
  windows.screens = {{0, 0, right, 1024 * px}, {right, 0, right, 1024 * px}};
  state.settings.floatingX = 2200;
  state.settings.floatingY = 20;
  KRV_DetachF& w = load();
  const int width = w.bounds().width;
  struct Case {
    int left, top, after;
  };
  const Case cases[] = {{2200 * px, 20 * px, 2200 * px},
                        {1960 * px, 32 * px, 1960 * px},
                        {2 * right - width - 900, 32 * px, 2 * right - width - 825}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    w.move(c.left, c.top);
    scheduler.run(2000);
    EXPECT_EQ((std::pair{w.bounds().left, w.bounds().top}), (std::pair{c.after, c.top}));
  }
  w.move(2200 * px, 20 * px);
  w.mnuClose.click();
  EXPECT_EQ(stored("KRVDetachMode"), "<none>") << "never moved off its saved place";
}

TEST_F(KrvDetachFTest, ClosingSavesThePositionOnlyWhenItMoved) {
  state.settings.floatingX = 100;
  state.settings.floatingY = 50;
  load().mnuClose.click();
  EXPECT_EQ(stored("KRVDetachMode"), "<none>");

  KRV_DetachF& w = load();
  w.move(w.bounds().left + 15, w.bounds().top);
  w.KRVIcon.DblClick();
  EXPECT_FALSE(w.loaded());
  EXPECT_EQ(stored("KRVDetachMode"), "KRV:n:y:101:50");
  EXPECT_EQ(state.settings.floatingX, 101);
}

TEST_F(KrvDetachFTest, ARightPressOnTheClockDragsThenShowsTheMenuOnTheIconOnlyTheMenu) {
  KRV_DetachF& w = load();
  w.picDraw.MouseDown(ui::kLeftButton, 0, 1, 1);
  EXPECT_EQ(windows.moving, &w);
  w.move(-40, 3);  // dropped sticking out at the top left
  windows.endSystemMove();
  EXPECT_EQ((std::pair{w.bounds().left, w.bounds().top}), (std::pair{0, 0}));
  EXPECT_TRUE(popups.empty());

  w.picDraw.MouseDown(ui::kRightButton, 0, 1, 1);
  EXPECT_EQ(windows.movingButton, ui::kRightButton) << "a drag with the button pressed";
  EXPECT_TRUE(popups.empty()) << "not while the drag runs";
  windows.endSystemMove();
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].first, &w.mnuMain);
  EXPECT_EQ(popups[0].second, &w.mnuAdj);

  w.KRVIcon.MouseDown(ui::kRightButton, 0, 1, 1);
  EXPECT_EQ(windows.moving, nullptr);
  EXPECT_EQ(popups.size(), 2u);
}

TEST_F(KrvDetachFTest, MenuItemsAskTheProgramAndADragEndingAfterTheCloseDoesNothing) {
  KRV_DetachF& w = load();
  w.mnuAdj.click();
  w.mnuKRVS.click();
  w.mnuHelp.click();
  EXPECT_EQ(program.calls, (std::vector<std::string>{"show KRV_DConfig", "synchronise"}));
  w.picDraw.MouseDown(ui::kRightButton, 0, 1, 1);
  w.mnuClose.click();
  clockWindow.reset();
  windows.endSystemMove();
  EXPECT_TRUE(popups.empty());
}

TEST_F(KrvDetachFTest, ASkinThatFailsToLoadLeavesTheIconReachable) {
  addSkin("KRV_Tall.gif", strip(10, 800));  // taller than the screen
  for (const char* skin : {"Missing.gif", "KRV_Tall.gif"}) {
    SCOPED_TRACE(skin);
    boxes.shown.clear();
    state.settings.floatingSkin = skin;
    KRV_DetachF& w = load();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "error loading image");
    EXPECT_TRUE(w.detachS.picture().empty());
    EXPECT_GE(w.clientWidth(), w.KRVIcon.geometry().left + w.KRVIcon.geometry().width);
    EXPECT_GE(w.clientHeight(), w.KRVIcon.geometry().top + w.KRVIcon.geometry().height);
    EXPECT_LT(w.clientHeight(), 100 * 15);
  }
}

TEST_F(KrvDetachFTest, TheFontStyleFitsItsLabelOnceAtLoad) {
  state.settings.floatingStyle = "FNT";
  state.settings.backColour = 0x00112233;
  KRV_DetachF& w = load();
  EXPECT_EQ(w.txtNow.caption(), "Monday, December 7, 2026 9:05:58 AM ");
  EXPECT_FALSE(w.picDraw.visible());
  EXPECT_EQ(w.backColor(), 0x00112233u);
  const ui::TwipsRect label = w.txtNow.geometry();
  EXPECT_EQ(w.clientHeight(), label.top + label.height + 13);
  w.txtNow.noteGeometry({label.left, label.top, label.width + 600, label.height + 90});
  scheduler.run(3000 + platform::kAfterSecondMs);
  EXPECT_EQ(w.txtNow.caption(), "Monday, December 7, 2026 9:06:01 AM ");
  EXPECT_EQ(w.clientHeight(), label.top + label.height + 13) << "not resized after the load";
}

}  // namespace
}  // namespace korvane::display::testing
