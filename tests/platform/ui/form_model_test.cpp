// The form model's own rules: option groups per container, the slider's range and events, and
// a picture box that sizes itself to its picture.
#include <gtest/gtest.h>

#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/slider.h"

namespace korvane::ui {
namespace {

TEST(FormModel, AnOptionSetClearsOnlyItsOwnContainersGroupAndClicksOnce) {
  Form form("f");
  Frame frame("frame");
  OptionButton a("a"), b("b"), c("c"), d("d");
  form.add(frame);
  form.add(a);
  form.add(b);
  form.add(c, &frame);
  form.add(d, &frame);
  int clicks = 0;
  b.Click.connect([&] { ++clicks; });
  a.setValue(true);
  c.setValue(true);
  b.setValue(true);
  b.setValue(true);  // already set: no second click
  EXPECT_EQ(std::vector<bool>({a.value(), b.value(), c.value(), d.value()}),
            std::vector<bool>({false, true, true, false}));
  EXPECT_EQ(clicks, 1);
}

TEST(FormModel, SliderKeepsItsValueInRangeAndTellsCodeChangesFromDrags) {
  Slider s("s");
  s.setRange(0, 255);
  int changes = 0, scrolls = 0;
  s.Change.connect([&] { ++changes; });
  s.Scroll.connect([&] { ++scrolls; });
  s.setValue(300);
  EXPECT_EQ(s.value(), 255);
  s.scrollTo(-4);
  EXPECT_EQ(s.value(), 0);
  s.setValue(0);  // unchanged: no event
  s.setRange(10, 20);
  EXPECT_EQ(s.value(), 10);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(scrolls, 1);
  s.scrollTo(15);
  s.release(15);  // letting go where the drag left it still reports the change
  EXPECT_EQ(changes, 3);
}

TEST(FormModel, AutoSizedPictureBoxTakesItsPicturesSizeInTwips) {
  PictureBox p("p");
  p.setTwipsPerPixel(12);
  p.setAutoSize(true);
  p.setPicture(platform::Raster(158, 20));
  EXPECT_EQ(p.geometry().width, 158 * 12);
  EXPECT_EQ(p.scaleWidth(), 158);
  EXPECT_EQ(p.scaleHeight(), 20);
}

}  // namespace
}  // namespace korvane::ui
