// SPDX-License-Identifier: GPL-3.0-or-later
// The newer control kinds on the offscreen Qt host: option groups, the slider's drag and
// release, caption-sized and transparent labels, plain and stretched images, the mouse, and
// forms that paint and have an owner.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest/QTest>
#include <string>
#include <vector>

#include "platform/qt/form_host.h"
#include "platform/qt/offscreen_app.h"
#include "platform/qt/qt_pictures.h"
#include "platform/ui/frame.h"
#include "platform/ui/image_box.h"
#include "platform/ui/label.h"
#include "platform/ui/option_button.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/slider.h"

namespace korvane::platform {
namespace {

class ControlBindingsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::offscreenApp(); }

  ControlBindingsTest() { form.setClientSize(6000, 4500); }

  template <class W = QWidget>
  W* widgetOf(const ui::Control& c) {
    for (QWidget* w : host->window()->findChildren<QWidget*>())
      if (FormHost::controlOf(w) == &c) return qobject_cast<W*>(w);
    return nullptr;
  }
  void makeHost() {
    host = std::make_unique<FormHost>(form, folder.path().toStdString(), bindings);
  }

  QTemporaryDir folder;
  ui::Form form{"Gallery"};
  ControlBindings bindings = ControlBindings::standard();
  std::unique_ptr<FormHost> host;
};

void send(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
          Qt::KeyboardModifiers keys, QPointF pos) {
  QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, keys);
  QApplication::sendEvent(w, &e);
}

// A font's sample shows its whole line at any size: drawn smaller where the font would not fit,
// at the font's own size where it does; the model keeps the font chosen.
TEST_F(ControlBindingsTest, AShrinkingLabelShowsItsWholeLine) {
  ui::Label sample{"fntTest"};
  sample.setGeometry({0, 0, 3500, 495});
  sample.setCaption(" Example 12:12:12 AM ");
  sample.setShrinkToFit(true);
  form.add(sample);
  makeHost();
  auto* w = widgetOf<QLabel>(sample);
  ASSERT_NE(w, nullptr);
  for (const double points : {8.0, 20.0, 36.0}) {
    sample.setFont({"Liberation Sans", points});
    EXPECT_FALSE(w->wordWrap());
    EXPECT_LE(w->fontMetrics().horizontalAdvance(w->text()), w->width()) << points;
    EXPECT_EQ(sample.font().size, points) << "the chosen font stays the model's";
    if (points == 8.0) {
      EXPECT_DOUBLE_EQ(w->font().pointSizeF(), 8.0) << "a font that fits";
    }
  }
}

TEST_F(ControlBindingsTest, UserClickOnAnOptionClearsOnlyItsGroup) {
  ui::Frame box{"Box"};
  ui::OptionButton a{"a"}, b{"b"}, c{"c"}, d{"d"};
  box.setGeometry({3000, 0, 2000, 2000});
  int y = 0;
  for (ui::OptionButton* o : {&a, &b, &c, &d}) o->setGeometry({100, y += 400, 1500, 300});
  form.add(a);
  form.add(b);
  form.add(box);
  form.add(c, &box);
  form.add(d, &box);
  a.setValue(true);
  c.setValue(true);
  int clicks = 0;
  b.Click.connect([&] { ++clicks; });
  makeHost();
  host->window()->show();
  widgetOf<QRadioButton>(b)->click();
  widgetOf<QRadioButton>(b)->click();  // the set button stays set
  const std::vector<bool> model{a.value(), b.value(), c.value(), d.value()};
  std::vector<bool> shown;
  for (ui::OptionButton* o : {&a, &b, &c, &d})
    shown.push_back(widgetOf<QRadioButton>(*o)->isChecked());
  EXPECT_EQ(model, (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(shown, model);
  EXPECT_EQ(clicks, 1);
  d.setValue(true);  // by code, in the other group
  EXPECT_FALSE(widgetOf<QRadioButton>(c)->isChecked());
  EXPECT_TRUE(widgetOf<QRadioButton>(d)->isChecked());
  d.setValue(false);  // a group may be left with none set
  EXPECT_FALSE(widgetOf<QRadioButton>(d)->isChecked());
  QTest::keyClick(widgetOf<QRadioButton>(b), Qt::Key_Down);  // past the end: the first
  EXPECT_TRUE(a.value());
  EXPECT_FALSE(b.value());
}

TEST_F(ControlBindingsTest, SliderDragScrollsAndLettingGoOrTheTrackChanges) {
  ui::Slider s{"Opacity"};
  s.setGeometry({100, 100, 3000, 450});
  s.setRange(0, 20);
  s.setSmallChange(2);
  s.setLargeChange(5);
  s.setTickFrequency(4);
  s.setValue(3);
  form.add(s);
  std::string events;
  s.Scroll.connect([&] { events += "S" + std::to_string(s.value()) + " "; });
  s.Change.connect([&] { events += "C" + std::to_string(s.value()) + " "; });
  makeHost();
  auto* w = widgetOf<QSlider>(s);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(std::vector<int>({w->minimum(), w->maximum(), w->singleStep(), w->pageStep(),
                              w->tickInterval(), w->value()}),
            std::vector<int>({0, 20, 2, 5, 4, 3}));
  w->setSliderDown(true);
  w->setSliderPosition(7);
  w->setSliderPosition(8);
  w->setSliderDown(false);
  w->triggerAction(QAbstractSlider::SliderPageStepAdd);  // a click on the track
  EXPECT_EQ(events, "S7 S8 C8 C13 ");
  s.setValue(40);
  EXPECT_EQ(w->value(), 20);
}

TEST_F(ControlBindingsTest, AutoSizedLabelTakesItsCaptionsSizeAndReportsIt) {
  ui::Label label{"Zone"};
  label.setGeometry({300, 600, 200, 200});
  label.setFont({"Arial", 12, true});
  label.setAutoSize(true);
  label.setCaption("Central European Time");
  form.add(label);
  makeHost();
  auto* w = widgetOf<QLabel>(label);
  ASSERT_NE(w, nullptr);
  const QSize text = QFontMetrics(toQFont(label.font())).size(0, "Central European Time");
  EXPECT_EQ(w->size(), text);
  EXPECT_EQ(w->pos(), QPoint(20, 40));
  EXPECT_EQ(label.geometry(), (ui::TwipsRect{300, 600, text.width() * 15, text.height() * 15}));
  label.setCaption("UTC");
  EXPECT_LT(w->width(), text.width());
  EXPECT_EQ(label.geometry().width, w->width() * 15);
}

TEST_F(ControlBindingsTest, ImageTakesThePicturesSizeUnlessStretched) {
  QImage png(32, 24, QImage::Format_RGB32);
  png.fill(Qt::red);
  ASSERT_TRUE(png.save(folder.filePath("lamp.png")));
  struct Case {
    bool stretch;
    QSize shown;
    ui::TwipsRect model;
  };
  for (const Case& c :
       {Case{true, {16, 16}, {150, 150, 240, 240}}, Case{false, {32, 24}, {150, 150, 480, 360}}}) {
    SCOPED_TRACE(c.stretch);
    ui::Form f{"f"};
    ui::ImageBox image{"Lamp"};
    image.setGeometry({150, 150, 240, 240});
    image.setFile("lamp.png");
    image.setStretch(c.stretch);
    f.add(image);
    FormHost h(f, folder.path().toStdString(), bindings);
    auto* w = h.window()->findChild<QLabel*>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->size(), c.shown);
    EXPECT_EQ(w->hasScaledContents(), c.stretch);
    EXPECT_EQ(image.geometry(), c.model);
  }
}

TEST_F(ControlBindingsTest, MouseEventsCarryButtonShiftAndPositionToTheControlPointedAt) {
  ui::PictureBox box{"Face"};
  ui::Label label{"Time"};
  box.setGeometry({1500, 1500, 3000, 2000});
  box.setBackColor(0x00ff00);  // green in either byte order
  label.setGeometry({150, 300, 1500, 450});
  label.setBackColor(0xffffff);  // not painted while transparent
  label.setTransparent(true);
  form.add(box);
  form.add(label, &box);
  std::vector<std::string> seen;
  auto record = [&seen](std::string what) {
    return [&seen, what](int button, int shift, double x, double y) {
      seen.push_back(what + " " + std::to_string(button) + " " + std::to_string(shift) + " " +
                     std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
  };
  label.MouseDown.connect(record("label down"));
  label.MouseMove.connect(record("label move"));
  label.MouseUp.connect(record("label up"));
  label.DblClick.connect([&seen] { seen.push_back("label dbl"); });
  box.MouseDown.connect(record("box down"));
  box.DblClick.connect([&seen] { seen.push_back("box dbl"); });
  form.MouseMove.connect(record("form move"));
  makeHost();
  host->window()->show();
  QWidget* l = widgetOf(label);
  const Qt::KeyboardModifiers shiftCtrl = Qt::ShiftModifier | Qt::ControlModifier;
  send(l, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier, {10, 5});
  send(l, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton | Qt::RightButton, shiftCtrl, {12, 6});
  send(l, QEvent::MouseButtonRelease, Qt::RightButton, Qt::LeftButton, Qt::AltModifier, {12, 6});
  send(l, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {}, {12, 6});
  send(widgetOf(box), QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, {}, {2, 3});
  send(host->window(), QEvent::MouseMove, Qt::NoButton, {}, {}, {4, 8});
  // The label passes what it leaves unhandled on to the box under it; those stay the label's.
  // The box counts in pixels, the others in twips.
  EXPECT_EQ(seen, (std::vector<std::string>{"label down 1 1 150,75", "label move 3 3 180,90",
                                            "label up 2 4 180,90", "label dbl", "box down 4 0 2,3",
                                            "form move 0 0 60,120"}));
  const QImage shown = widgetOf(box)->grab().toImage();
  EXPECT_EQ(shown.pixelColor(l->geometry().center()), QColor(0, 255, 0)) << "the label hid it";
}

TEST_F(ControlBindingsTest, FormPaintsAndOpensCentredAboveItsOwner) {
  ui::Form owner{"Main"};
  owner.setClientSize(9000, 6000);
  ControlBindings none;
  FormHost ownerHost(owner, folder.path().toStdString(), none);
  owner.show();
  ownerHost.window()->move(100, 80);
  form.setOwner(&owner);
  int paints = 0;
  form.Paint.connect([&] { ++paints; });
  makeHost();
  host->setOwnerLookup(
      [&](const ui::Form& f) { return &f == &owner ? ownerHost.window() : nullptr; });
  form.show();
  host->window()->grab();  // paints the window as the screen would
  EXPECT_GE(paints, 1);
  ASSERT_NE(host->window()->windowHandle(), nullptr);
  EXPECT_EQ(host->window()->windowHandle()->transientParent(), ownerHost.window()->windowHandle());
  const QPoint off =
      host->window()->frameGeometry().center() - ownerHost.window()->frameGeometry().center();
  EXPECT_LE(off.manhattanLength(), 2) << off.x() << "," << off.y();
}

}  // namespace
}  // namespace korvane::platform
