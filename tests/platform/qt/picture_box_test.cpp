// SPDX-License-Identifier: GPL-3.0-or-later
// A picture box on a screen of two device pixels per pixel: each raster pixel fills a pixel of
// the layout (two by two device pixels, unsmoothed), Paint comes before the drawing, and the
// mouse counts in raster pixels.
#include "platform/ui/picture_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <QtTest/QTest>

#include "platform/qt/form_host.h"
#include "platform/qt/offscreen_app.h"

namespace korvane::platform {
namespace {

QRgb onScreen(Colour c) {
  return qRgb(red(c), green(c), blue(c));
}

class PictureBoxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("QT_SCALE_FACTOR", "2");
    testing::offscreenApp();
  }
  PictureBoxTest() {
    form.setClientSize(3000, 1500);
    box.setGeometry({150, 150, 300, 150});  // 20 x 10 logical, 40 x 20 device pixels
    // A checkerboard: any smoothing mixes neighbours.
    Raster r(20, 10, makeColour(255, 255, 255));
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x)
        if ((x + y) % 2 == 0) r.setPixel(x, y, makeColour(12 * x, 24 * y, 200));
    box.setPicture(r);
    form.add(box);
  }
  QWidget* shown() { return host->window()->findChild<QWidget*>(); }

  ui::Form form{"Clock"};
  ui::PictureBox box{"Face"};
  ControlBindings bindings = ControlBindings::standard();
  std::unique_ptr<FormHost> host;
};

TEST_F(PictureBoxTest, RasterPixelsFillLayoutPixelsUnsmoothedAndPaintComesFirst) {
  box.Paint.connect([this] { box.picture().setPixel(19, 9, makeColour(255, 0, 0)); });
  host = std::make_unique<FormHost>(form, "/nonexistent", bindings);
  form.show();
  QWidget* w = shown();
  ASSERT_DOUBLE_EQ(w->devicePixelRatioF(), 2.0);
  const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(40, 20));
  int wrong = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      wrong += image.pixel(x, y) != onScreen(box.picture().pixel(x / 2, y / 2));
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(image.pixel(39, 19), qRgb(255, 0, 0)) << "drawn by Paint before showing";
}

TEST_F(PictureBoxTest, AutoSizedBoxIsItsPictureAndTheMouseCountsItsPixels) {
  box.setAutoSize(true);
  box.setPicture(Raster(21, 11));
  double x = -1, y = -1;
  box.MouseDown.connect([&](int, int, double px, double py) { x = px, y = py; });
  host = std::make_unique<FormHost>(form, "/nonexistent", bindings);
  QWidget* w = shown();
  EXPECT_EQ(w->size(), QSize(21, 11));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 2.5), w->mapToGlobal(QPointF(3, 2.5)),
                    Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(w, &press);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 2.5);
}

TEST_F(PictureBoxTest, AFormItsPictureCoversWholeStillHasItsFirstPaint) {
  box.setGeometry({0, 0, 3000, 1500});
  int paints = 0;
  form.Paint.connect([&] { ++paints; });
  host = std::make_unique<FormHost>(form, "/nonexistent", bindings);
  form.show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 2000));
}

// An idle clock refreshes the same picture again and again: only a changed one repaints.
TEST_F(PictureBoxTest, OnlyAChangedPictureRepaints) {
  int paints = 0;
  box.Paint.connect([&] { ++paints; });
  host = std::make_unique<FormHost>(form, "/nonexistent", bindings);
  form.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 2000));
  struct Step {
    bool change;
    int paints;  // more than before
  };
  for (const Step s : {Step{false, 0}, Step{true, 1}, Step{false, 0}}) {
    const int before = paints;
    if (s.change) box.picture().setPixel(0, 0, makeColour(1, 2, 3));
    box.refresh();
    QTest::qWait(50);
    EXPECT_EQ(paints - before, s.paints) << s.change;
  }
}

}  // namespace
}  // namespace korvane::platform
