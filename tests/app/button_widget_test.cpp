// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own button hosted offscreen: its pixels, window shape, pointer, the clicks the
// user's mouse and keys make, and hover ending when the pointer goes elsewhere.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QtTest/QTest>
#include <functional>

#include "app/button_binding.h"
#include "app/qt_button_widget.h"
#include "common/rounding.h"
#include "controls/form_buttons.h"
#include "platform/qt/form_host.h"
#include "platform/qt/offscreen_app.h"
#include "platform/qt/qt_pointer_probe.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/system_colours.h"

namespace korvane::platform {
namespace {

constexpr int kW = 88;  // pixels of a 1320 x 375 twips button
constexpr int kH = 25;

class ButtonWidgetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::offscreenApp(); }

  ButtonWidgetTest() {
    form.setClientSize(3000, 1500);
    design.place(form, button, "&Synchronize", {150, 150, kW * 15, kH * 15});
    button.Click.connect([this] { ++clicks; });
    app::addButtonBinding(bindings);
    host = std::make_unique<FormHost>(form, "/nonexistent", bindings);
    form.load();
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(host->window()));
    widget = host->window()->findChild<app::ButtonWidget*>();
  }

  // Waits until the condition holds, at most a second.
  static bool eventually(const std::function<bool()>& condition) {
    QElapsedTimer t;
    t.start();
    while (!condition() && t.elapsed() < 1000)
      QApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
  }

  QtTextRenderer text;
  ClassicSystemColours colours;
  QtPointerProbe pointer;
  ui::Form form{"TestForm"};
  controls::FormButtons design;
  controls::NXOButtons button{"SyncTimeNow", design.services({&text, &colours, nullptr, &pointer})};
  ControlBindings bindings = ControlBindings::standard();
  std::unique_ptr<FormHost> host;
  app::ButtonWidget* widget = nullptr;
  int clicks = 0;
};

TEST_F(ButtonWidgetTest, ShowsTheRasterInsideTheRoundedShape) {
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->geometry(), QRect(10, 10, kW, kH));
  EXPECT_EQ(widget->cursor().shape(), Qt::PointingHandCursor);
  const QImage shown = widget->grab().toImage();
  const Raster& raster = button.surface();
  const Colour dark = colours.resolve(systemColour(21));
  const Colour base = shade(colours.resolve(controls::kButtonFace), 48);
  // Frame pixels are the dark shadow; away from the inner lines and the caption, row y of the
  // gradient is the base darkened by 25 * y / height.
  struct Pixel {
    int x, y;
    Colour expected;
  };
  const Pixel pixels[] = {{kW / 2, 0, dark},
                          {0, kH / 2, dark},
                          {kW - 1, kH / 2, dark},
                          {1, 1, dark},
                          {6, 4, shade(base, -4)},
                          {6, 12, shade(base, -12)},
                          {kW - 7, 20, shade(base, -20)}};
  for (const Pixel& p : pixels) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(raster.pixel(p.x, p.y), p.expected);
    const QRgb q = shown.pixel(p.x, p.y);
    EXPECT_EQ(makeColour(qRed(q), qGreen(q), qBlue(q)), p.expected);
  }
  const QRegion mask = widget->mask();
  const QPoint outside[] = {{0, 0},      {1, 0},           {0, 1},           {kW - 2, 0},
                            {kW - 1, 0}, {kW - 1, 1},      {0, kH - 1},      {1, kH - 1},
                            {0, kH - 2}, {kW - 2, kH - 1}, {kW - 1, kH - 1}, {kW - 1, kH - 2}};
  for (const QPoint& p : outside) EXPECT_FALSE(mask.contains(p)) << p.x() << "," << p.y();
  int area = 0;
  for (const QRect& r : mask) area += r.width() * r.height();
  EXPECT_EQ(area, kW * kH - 12);
}

TEST_F(ButtonWidgetTest, MouseAndKeysClickAsAButtonDoes) {
  ASSERT_NE(widget, nullptr);
  const QPoint in(40, 12), out(kW + 30, kH + 20);
  struct Case {
    const char* name;
    std::function<void()> act;
    int clicks;
  };
  const Case cases[] = {
      {"press and release inside",
       [&] {
         QTest::mousePress(widget, Qt::LeftButton, {}, in);
         QTest::mouseRelease(widget, Qt::LeftButton, {}, in);
       },
       1},
      {"press, move out, release outside",
       [&] {
         QTest::mousePress(widget, Qt::LeftButton, {}, in);
         QTest::mouseMove(widget, out);
         QTest::mouseRelease(widget, Qt::LeftButton, {}, out);
       },
       0},
      {"right button", [&] { QTest::mouseClick(widget, Qt::RightButton, {}, in); }, 0},
      {"Space",
       [&] {
         widget->setFocus();
         QTest::keyClick(widget, Qt::Key_Space);
       },
       1},
      {"Alt and the access key",
       [&] { QTest::keyClick(host->window(), Qt::Key_S, Qt::AltModifier); }, 1},
      {"disabled",
       [&] {
         button.setEnabled(false);
         QTest::mouseClick(widget, Qt::LeftButton, {}, in);
         button.click();
         button.setEnabled(true);
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clicks = 0;
    c.act();
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_FALSE(button.flags().pressed) << "nothing stays held";
  }
}

TEST_F(ButtonWidgetTest, ScreenReadersSeeAPushButtonWithItsCaptionAndAPressAction) {
  ASSERT_NE(widget, nullptr);
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->role(), QAccessible::Button);
  EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Synchronize"));
  EXPECT_TRUE(a->state().focusable);
  QAccessibleActionInterface* actions = a->actionInterface();
  ASSERT_NE(actions, nullptr);
  EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
  actions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 1);
  button.setEnabled(false);
  actions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 1) << "a disabled button is not pressed";
  EXPECT_TRUE(a->state().disabled);
}

TEST_F(ButtonWidgetTest, EveryKeyAndCharacterReachesTheControl) {
  ASSERT_NE(widget, nullptr);
  std::vector<int> downs, ups, chars;
  button.KeyDown.connect([&](int code, int) { downs.push_back(code); });
  button.KeyUp.connect([&](int code, int) { ups.push_back(code); });
  button.KeyPress.connect([&](int ch) { chars.push_back(ch); });
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    int code;
    int character;  // 0: none
  };
  const Case cases[] = {
      {Qt::Key_Delete, {}, {}, 46, 0},
      {Qt::Key_Home, {}, {}, 36, 0},
      {Qt::Key_End, {}, {}, 35, 0},
      {Qt::Key_PageUp, {}, {}, 33, 0},
      {Qt::Key_PageDown, {}, {}, 34, 0},
      {Qt::Key_Insert, {}, {}, 45, 0},
      {Qt::Key_5, Qt::KeypadModifier, "5", 101, '5'},
      {Qt::Key_Semicolon, {}, ";", 186, ';'},
      {Qt::Key_Adiaeresis, {}, QString::fromUtf8("ä"), 223, 0xE4},
  };
  widget->setFocus();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    downs.clear(), ups.clear(), chars.clear();
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.text);
    QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, c.text);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
    EXPECT_EQ(downs, std::vector<int>{c.code});
    EXPECT_EQ(ups, std::vector<int>{c.code});
    EXPECT_EQ(chars, c.character ? std::vector<int>{c.character} : std::vector<int>{});
  }
}

TEST_F(ButtonWidgetTest, ExtraMouseButtonsAndASpaceHoverRaiseNothing) {
  ASSERT_NE(widget, nullptr);
  int downs = 0, outs = 0;
  button.MouseDown.connect([&](int, int, double, double) { ++downs; });
  button.MouseOut.connect([&](int) { ++outs; });
  for (Qt::MouseButton extra : {Qt::BackButton, Qt::ForwardButton})
    QTest::mouseClick(widget, extra, {}, QPoint(40, 12));
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(clicks, 0);
  widget->setFocus();
  QTest::keyPress(widget, Qt::Key_Space);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(widget, &leave);
  EXPECT_EQ(outs, 0) << "no MouseOut without a MouseIn";
  QTest::keyRelease(widget, Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonWidgetTest, CustomMouseIconKeepsItsColours) {
  ASSERT_NE(widget, nullptr);
  auto icon = std::make_shared<Picture>();
  icon->kind = Picture::Kind::Cursor;
  icon->image = Raster(4, 4, 0x0000FF);  // red, as 0x00BBGGRR
  button.setDefCurHand(false);
  button.setMouseIcon(icon);
  button.setMousePointer(99);
  QApplication::processEvents();
  const QImage shown = widget->cursor().pixmap().toImage();
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(shown.pixel(1, 1), 0xFFFF0000u);
}

TEST_F(ButtonWidgetTest, HoverEndsWhenThePointerIsOverAnotherWindow) {
  ASSERT_NE(widget, nullptr);
  QCursor::setPos(widget->mapToGlobal(QPoint(40, 12)));
  QTest::mouseMove(widget, QPoint(40, 12));
  ASSERT_TRUE(button.flags().hover);
  QTest::qWait(50);
  EXPECT_TRUE(button.flags().hover) << "the probe finds the pointer still over the button";
  QCursor::setPos(widget->mapToGlobal(QPoint(kW + 50, kH + 50)));
  EXPECT_TRUE(eventually([&] { return !button.flags().hover; }));
  EXPECT_FALSE(button.overTimer().enabled());
}

}  // namespace
}  // namespace korvane::platform
