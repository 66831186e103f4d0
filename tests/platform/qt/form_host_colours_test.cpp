// SPDX-License-Identifier: GPL-3.0-or-later
// Colour values and font styles of the model as the Qt host shows them.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPixmap>

#include "platform/qt/form_host.h"
#include "platform/qt/offscreen_app.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"

namespace korvane::platform {
namespace {

class FormHostColours : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::offscreenApp(); }

  FormHostColours() {
    // Values no desktop palette has, so a match proves the host asked this table.
    colours.set(5, makeColour(1, 2, 3));
    colours.set(15, makeColour(4, 5, 6));
    colours.set(18, makeColour(7, 8, 9));
    form.setClientSize(3000, 1500);
    frame.setGeometry({0, 0, 3000, 1500});
    frame.setBorder(false);
    label.setGeometry({150, 150, 1500, 450});
    label.setCaption("12:00");
    form.add(frame);
    form.add(label, &frame);
  }

  void makeHost() {
    host = std::make_unique<FormHost>(form, "/nonexistent", bindings, &colours);
    for (QWidget* w : host->window()->findChildren<QWidget*>())
      if (FormHost::controlOf(w) == &label) shown = w;
    ASSERT_NE(shown, nullptr);
  }
  QColor painted() const { return shown->grab().toImage().pixelColor(1, 1); }

  ClassicSystemColours colours;
  ui::Form form{"Colours"};
  ui::Frame frame{"Banner"};
  ui::Label label{"Clock"};
  ControlBindings bindings = ControlBindings::standard();
  std::unique_ptr<FormHost> host;
  QWidget* shown = nullptr;
};

TEST_F(FormHostColours, SystemAndRgbValuesShowAsTheirColours) {
  const struct {
    Colour value;
    QColor shown;
  } cases[] = {
      {0x80000005u, QColor(1, 2, 3)},                       // window background
      {0x8000000Fu, QColor(4, 5, 6)},                       // button face
      {0x80000012u, QColor(7, 8, 9)},                       // button text
      {static_cast<Colour>(-2147483643), QColor(1, 2, 3)},  // as the settings store it
      {0x000000FFu, QColor(255, 0, 0)},
      {0x00FF0000u, QColor(0, 0, 255)},
      {0x00336699u, QColor(0x99, 0x66, 0x33)},
  };
  makeHost();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    label.setBackColor(c.value);
    label.setForeColor(c.value);
    EXPECT_EQ(shown->palette().color(QPalette::Window), c.shown);
    EXPECT_EQ(shown->palette().color(QPalette::WindowText), c.shown);
    EXPECT_EQ(painted(), c.shown);
    EXPECT_EQ(host->colour(c.value), c.shown);
  }
}

TEST_F(FormHostColours, TheDefaultValueFollowsTheContainerAgain) {
  frame.setBackColor(0x000000FFu);
  makeHost();
  EXPECT_EQ(painted(), QColor(255, 0, 0)) << "a label without a colour shows its container";
  label.setBackColor(0x00FF0000u);
  EXPECT_EQ(painted(), QColor(0, 0, 255));
  label.setBackColor(ui::kDefaultColour);
  EXPECT_EQ(painted(), QColor(255, 0, 0));
  EXPECT_FALSE(shown->autoFillBackground());
}

TEST_F(FormHostColours, EveryFontStyleReachesTheWidget) {
  const struct {
    bool bold, italic, underline, strikethrough;
  } cases[] = {{false, false, true, false},
               {false, false, false, true},
               {true, true, true, true},
               {false, false, false, false}};
  makeHost();
  for (const auto& c : cases) {
    label.setFont({"Arial", 10.5, c.bold, c.italic, c.underline, c.strikethrough, 0});
    const QFont f = shown->font();
    EXPECT_EQ(f.family(), "Liberation Sans");
    EXPECT_DOUBLE_EQ(f.pointSizeF(), 10.5);
    EXPECT_EQ(f.bold(), c.bold);
    EXPECT_EQ(f.italic(), c.italic);
    EXPECT_EQ(f.underline(), c.underline);
    EXPECT_EQ(f.strikeOut(), c.strikethrough);
  }
}

}  // namespace
}  // namespace korvane::platform
