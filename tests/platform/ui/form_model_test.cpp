// SPDX-License-Identifier: GPL-3.0-or-later
// The form model's own rules: which property a change names, option groups per container, the
// slider's range and events, and a picture box that sizes itself to its picture.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/slider.h"

namespace korvane::ui {
namespace {

// A host mirrors just the property a change names: a move is not a resize, and a setter that
// changes nothing raises nothing.
TEST(FormModel, AChangeNamesItsPropertyOnceAndOnlyWhenTheValueChanges) {
  using ui::Property;
  ui::Label label{"label"};
  std::vector<Property> raised;
  label.PropertyChanged.connect([&raised](Property p) { raised.push_back(p); });
  const std::pair<std::function<void()>, std::optional<Property>> steps[] = {
      {[&] {
         label.setGeometry({10, 10, 100, 50});
       },
       Property::Size},
      {[&] {
         label.setGeometry({20, 30, 100, 50});
       },
       Property::Position},
      {[&] {
         label.setGeometry({20, 30, 100, 50});
       },
       std::nullopt},
      {[&] { label.setEnabled(false); }, Property::Enabled},
      {[&] { label.setVisible(false); }, Property::Visible},
      {[&] { label.setToolTipText("tip"); }, Property::ToolTip},
      {[&] { label.setAccessibleName("name"); }, Property::AccessibleName},
      {[&] {
         label.setFont({"Arial", 12, true, false});
       },
       Property::Typeface},
      {[&] { label.setForeColor(0x0000FF); }, Property::ForeColor},
      {[&] { label.setBackColor(0x00FF00); }, Property::BackColor},
      {[&] { label.setCaption("12:00"); }, Property::Content},
      {[&] { label.setCaption("12:00"); }, std::nullopt},
  };
  for (const auto& [step, expected] : steps) {
    raised.clear();
    step();
    EXPECT_EQ(raised, expected ? std::vector<Property>{*expected} : std::vector<Property>{});
  }
}

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
