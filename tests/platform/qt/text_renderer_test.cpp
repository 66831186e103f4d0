// SPDX-License-Identifier: GPL-3.0-or-later
// The fake's fixed boxes and the Qt backend's real fonts measure and draw alike.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/fake/fake_text_renderer.h"
#include "platform/qt/qt_text_renderer.h"

namespace korvane::platform {
namespace {

constexpr Colour kPaper = makeColour(255, 255, 255);
constexpr Colour kInk = makeColour(0, 0, 0);

Rect inked(const Raster& r) {
  Rect box{r.width(), r.height(), 0, 0};
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x)
      if (r.pixel(x, y) != kPaper) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

TEST(FakeTextRenderer, MeasuresCellsPlusMarginsAndCentres) {
  FakeTextRenderer t;
  EXPECT_EQ(t.measure("&OK", {}, 80, {}), (TextSize{14, 13}));
  EXPECT_EQ(t.measure("Set the clock", {}, 50, {}), (TextSize{44, 26}));  // "Set the" / "clock"
  EXPECT_EQ(t.measure("", {}, 80, {}), (TextSize{0, 0}));
  Raster r(40, 30, kPaper);
  t.draw(r, {0, 0, 40, 30}, "OK", {}, kInk, {});
  EXPECT_EQ(inked(r), (Rect{14, 10, 25, 19}));  // 2 cells centred in 38, block in 30
}

class QtText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "text_renderer_test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qGuiApp) app_ = new QGuiApplication(argc, argv);
  }
  static QGuiApplication* app_;
};
QGuiApplication* QtText::app_ = nullptr;

TEST_F(QtText, ArialMeasuresAndDrawsInsideItsRectangle) {
  QtTextRenderer t;
  const Font arial{"Arial", 8};
  const TextSize one = t.measure("&Synchronize", arial, 200, {});
  EXPECT_GT(one.width, 40);
  EXPECT_LT(one.width, 90);
  const TextSize two = t.measure("Synchronize now", arial, one.width, {});
  EXPECT_EQ(two.height, 2 * one.height);
  Raster r(120, 40, kPaper);
  const Rect box{10, 5, 110, 35};
  t.draw(r, box, "&Synchronize", arial, kInk, {});
  const Rect ink = inked(r);
  EXPECT_GE(ink.left, box.left);
  EXPECT_LE(ink.right, box.right);
  EXPECT_GE(ink.top, box.top);
  EXPECT_LE(ink.bottom, box.bottom);
  EXPECT_GT(ink.width(), 30);
  // Centred: the blank on either side differs by at most a pixel or two.
  EXPECT_LE(std::abs((ink.left - box.left) - (box.right - ink.right)), 3);
}

TEST_F(QtText, MultiByteCaptionsAndLiteralAmpersandsDrawWhole) {
  QtTextRenderer t;
  const Font arial{"Arial", 8};
  EXPECT_EQ(t.measure("&Größe", arial, 200, {}).width, t.measure("Größe", arial, 200, {}).width);
  EXPECT_GT(t.measure("A && B", arial, 200, {}).width, t.measure("AB", arial, 200, {}).width);
  Raster r(80, 20, kPaper);
  t.draw(r, {0, 0, 80, 20}, "Gr&öße && x", arial, kInk, {});
  EXPECT_GT(inked(r).width(), 20);
}

}  // namespace
}  // namespace korvane::platform
