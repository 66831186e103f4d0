// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own button on a screen of two device pixels per pixel: every pixel rule of the
// button holds at scale 1 (each pixel fills two by two device pixels), while the caption is
// drawn at the screen's scale, as sharp as any other text.
#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "app/button_binding.h"
#include "app/qt_button_widget.h"
#include "controls/form_buttons.h"
#include "platform/qt/form_host.h"
#include "platform/qt/offscreen_app.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/system_colours.h"

namespace korvane::platform {
namespace {

TEST(ButtonScaledTest, TheCaptionIsDrawnAtTheScreensScaleAndTheRestAtOne) {
  qputenv("QT_SCALE_FACTOR", "2");
  testing::offscreenApp();
  QtTextRenderer text;
  ClassicSystemColours colours;
  ui::Form form{"TestForm"};
  form.setClientSize(3000, 1500);
  controls::FormButtons design;
  controls::NXOButtons button{"SyncTimeNow", design.services({&text, &colours, nullptr, nullptr})};
  design.place(form, button, "Synchronize", {150, 150, 88 * 15, 25 * 15});
  ControlBindings bindings = ControlBindings::standard();
  app::addButtonBinding(bindings);
  FormHost host(form, "/nonexistent", bindings);
  form.load();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(host.window()));
  auto* widget = host.window()->findChild<app::ButtonWidget*>();
  ASSERT_NE(widget, nullptr);
  const QImage shown = widget->grab().toImage();
  ASSERT_EQ(shown.size(), QSize(2 * 88, 2 * 25));

  const Raster& logical = button.surface();
  // Glyphs may reach a pixel or two past the caption's rectangle ("y" below it).
  const Rect r = button.rects().text;
  const Rect caption{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
  int sharpBlocks = 0;
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 88; ++x) {
      const QRgb corner = shown.pixel(2 * x, 2 * y);
      const bool uniform = shown.pixel(2 * x + 1, 2 * y) == corner &&
                           shown.pixel(2 * x, 2 * y + 1) == corner &&
                           shown.pixel(2 * x + 1, 2 * y + 1) == corner;
      if (caption.contains(x, y)) {
        sharpBlocks += uniform ? 0 : 1;
      } else if (widget->mask().isEmpty() || widget->mask().contains(QPoint(x, y))) {
        EXPECT_TRUE(uniform) << x << "," << y;
        EXPECT_EQ(makeColour(qRed(corner), qGreen(corner), qBlue(corner)), logical.pixel(x, y))
            << x << "," << y;
      }
    }
  EXPECT_GT(sharpBlocks, 20) << "the caption is drawn at the device pixels, not doubled";
}

}  // namespace
}  // namespace korvane::platform
