// A picture box on a screen of two device pixels per pixel: the raster shows one device pixel
// per raster pixel, Paint comes before the drawing, and the mouse counts in those pixels.
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
    Raster r(40, 20, makeColour(255, 255, 255));
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x)
        if ((x + y) % 2 == 0) r.setPixel(x, y, makeColour(10 * (x % 20), 12 * y, 200));
    box.setPicture(r);
    form.add(box);
  }
  QWidget* shown() { return host->window()->findChild<QWidget*>(); }

  ui::Form form{"Clock"};
  ui::PictureBox box{"Face"};
  ControlBindings bindings = ControlBindings::standard();
  std::unique_ptr<FormHost> host;
};

TEST_F(PictureBoxTest, RasterPixelsAreDevicePixelsAndPaintComesFirst) {
  box.Paint.connect([this] { box.picture().setPixel(39, 19, makeColour(255, 0, 0)); });
  host = std::make_unique<FormHost>(form, "/nonexistent", bindings);
  form.show();
  QWidget* w = shown();
  ASSERT_DOUBLE_EQ(w->devicePixelRatioF(), 2.0);
  const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(40, 20));
  int wrong = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) wrong += image.pixel(x, y) != onScreen(box.picture().pixel(x, y));
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(image.pixel(39, 19), qRgb(255, 0, 0)) << "drawn by Paint before showing";
}

TEST_F(PictureBoxTest, AutoSizedBoxIsItsPictureAndTheMouseCountsItsPixels) {
  box.setAutoSize(true);
  box.setPicture(Raster(41, 21));
  double x = -1, y = -1;
  box.MouseDown.connect([&](int, int, double px, double py) { x = px, y = py; });
  host = std::make_unique<FormHost>(form, "/nonexistent", bindings);
  QWidget* w = shown();
  EXPECT_EQ(w->size(), QSize(21, 11));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 2.5), w->mapToGlobal(QPointF(3, 2.5)),
                    Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(w, &press);
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 5);
}

TEST_F(PictureBoxTest, AFormItsPictureCoversWholeStillHasItsFirstPaint) {
  box.setGeometry({0, 0, 3000, 1500});
  int paints = 0;
  form.Paint.connect([&] { ++paints; });
  host = std::make_unique<FormHost>(form, "/nonexistent", bindings);
  form.show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 2000));
}

}  // namespace
}  // namespace korvane::platform
