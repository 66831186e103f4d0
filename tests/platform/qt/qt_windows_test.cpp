// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-in taskbar clock and the system move on the offscreen platform: where the clock sits,
// how the overlay follows it, and dragging a window where no window manager moves it.
#include "platform/qt/qt_windows.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtTest/QTest>

#include "platform/qt/offscreen_app.h"
#include "platform/qt/qt_form_hosts.h"
#include "platform/qt/qt_pictures.h"
#include "platform/ui/label.h"

namespace korvane::platform {
namespace {

class QtWindowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::offscreenApp(); }
  QtWindowsTest() { form.setClientSize(1500, 300); }
  ~QtWindowsTest() override { hosts.release(form); }

  QWidget* shown() {
    hosts.host(form);
    form.show();
    return hosts.hostOf(form)->window();
  }
  static QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

  QtFormHosts hosts{"/unused", ControlBindings::standard()};
  QtWindows windows{&hosts};
  ui::Form form{"KRV_Clock"};
};

TEST_F(QtWindowsTest, StandInClockSitsBottomRightAndKeepsItsRightEdge) {
  const QRect a = available();
  const int right = a.x() + a.width(), bottom = a.y() + a.height();
  struct Case {
    Rect move;  // relative to the notification area
    int width, height;
  };
  const Case cases[] = {
      {{}, QtWindows::kStandInClockWidth, QtWindows::kStandInClockHeight},  // before any move
      {{300, 0, 450, 20}, 150, 20},
      {{-50, 7, 9950, 19}, a.width(), 12},  // wider than the screen: the available width
  };
  for (const Case& c : cases) {
    if (!c.move.empty()) windows.moveTaskbarClock(c.move);
    const auto found = windows.findTaskbarClock();
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->standIn);
    EXPECT_EQ(found->clock, (Rect{right - c.width, bottom - c.height, right, bottom})) << c.width;
    EXPECT_EQ(found->notificationArea.bottom, bottom);
    EXPECT_LE(found->notificationArea.left, found->clock.left);
    EXPECT_LE(found->notificationArea.top, found->clock.top);
  }
}

TEST_F(QtWindowsTest, AdoptedOverlayIsAToolWindowThatFollowsTheClock) {
  windows.adoptOverlay(form);  // while loading, before the form has a window
  form.move(0, 0);
  QWidget* w = shown();
  const Qt::WindowFlags wanted = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  EXPECT_EQ(w->windowFlags() & wanted, wanted);
  EXPECT_TRUE(w->testAttribute(Qt::WA_AlwaysShowToolTips)) << "never active, tips all the same";
  auto clockCorner = [&] {
    const Rect c = windows.findTaskbarClock()->clock;
    return QPoint(c.left, c.top);
  };
  EXPECT_EQ(w->pos(), clockCorner());

  windows.moveTaskbarClock({0, 0, 200, 30});
  EXPECT_EQ(w->pos(), clockCorner());
  form.move(10 * twipsPerPixel(), 0);  // ten pixels into the clock
  EXPECT_EQ(w->pos(), clockCorner() + QPoint(10, 0));
  EXPECT_EQ(form.bounds().left, 10 * twipsPerPixel()) << "the form's position stays relative";
  EXPECT_EQ(w->windowFlags() & wanted, wanted);
}

TEST_F(QtWindowsTest, AnOverlaySizedToNothingShowsNoSliver) {
  windows.adoptOverlay(form);
  form.setClientSize(0, 24 * twipsPerPixel());  // a skin that failed to load: no cells
  EXPECT_FALSE(shown()->isVisible());
  form.setClientSize(100 * twipsPerPixel(), 24 * twipsPerPixel());
  EXPECT_TRUE(hosts.hostOf(form)->window()->isVisible());
}

// A released window takes its style and opacity with it: a form made later may have its address.
TEST_F(QtWindowsTest, AReleasedWindowLeavesNoLayeredStyleBehind) {
  shown();
  windows.setWindowLong(form, kGwlExStyle, kWsExLayered);
  windows.setLayeredWindowAttributes(form, 0, 100, kLwaAlpha);
  ASSERT_EQ(form.opacity(), 100);
  hosts.release(form);
  EXPECT_EQ(windows.getWindowLong(form, kGwlExStyle), 0);
  windows.setWindowLong(form, kGwlExStyle, kWsExLayered);
  EXPECT_EQ(form.opacity(), 255) << "no alpha was set for the new window";
}

TEST_F(QtWindowsTest, AThinFrameOnlyIsDrawnAroundTheClientArea) {
  ui::Label label{"label"};
  label.setGeometry({0, 0, 10 * twipsPerPixel(), 5 * twipsPerPixel()});
  form.add(label);
  form.setBorderStyle(ui::BorderStyle::FixedSingle);
  form.setControlBox(false);
  form.setCaption("");
  form.setBackColor(makeColour(0, 255, 0));
  QWidget* w = shown();
  const QSize client(1500 / twipsPerPixel(), 300 / twipsPerPixel());
  EXPECT_EQ(w->size(), client + QSize(2, 2));
  EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint) << "no title bar";
  const QImage image = w->grab().toImage();
  EXPECT_NE(image.pixelColor(0, 5), QColor(0, 255, 0)) << "the line";
  EXPECT_EQ(image.pixelColor(client.width(), 5), QColor(0, 255, 0)) << "the client area";
  EXPECT_EQ(w->childAt(1, 1), w->findChildren<QWidget*>().value(0)) << "the label inside the line";
}

TEST_F(QtWindowsTest, WithoutAWindowManagerTheWindowFollowsThePointerUntilRelease) {
  form.move(1500, 1500);
  QWidget* w = shown();
  const QPoint start = w->pos();
  const QPoint grip(20, 10);
  const QPoint pressed = w->mapToGlobal(grip);
  QCursor::setPos(pressed);
  QTest::mousePress(w, Qt::LeftButton, {}, grip);
  int ended = 0;
  windows.beginSystemMove(form, ui::kLeftButton, [&] { ++ended; });
  // The events carry screen positions taken from the window's place at the time.
  const QPoint to = pressed + QPoint(40, 25);
  QTest::mouseMove(w, w->mapFromGlobal(to));
  EXPECT_EQ(w->pos(), start + QPoint(40, 25));
  EXPECT_EQ(ended, 0);
  QTest::mouseRelease(w, Qt::LeftButton, {}, w->mapFromGlobal(to));
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(form.bounds().left, (start.x() + 40) * twipsPerPixel());
  QTest::mouseMove(w, w->mapFromGlobal(to + QPoint(30, 30)));
  EXPECT_EQ(w->pos(), start + QPoint(40, 25)) << "still following after the release";
  EXPECT_EQ(ended, 1);

  windows.beginSystemMove(form, ui::kLeftButton, [&] { ++ended; });  // no button down: over at once
  EXPECT_EQ(ended, 2);
}

}  // namespace
}  // namespace korvane::platform
