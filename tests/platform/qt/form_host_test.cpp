// SPDX-License-Identifier: GPL-3.0-or-later
// The generic Qt host on the offscreen platform: geometry from twips, fonts, and the user's
// actions coming back as the model's events.
#include "platform/qt/form_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "platform/qt/image_combo_items.h"
#include "platform/qt/offscreen_app.h"
#include "platform/qt/qt_form_hosts.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_windows.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/frame.h"
#include "platform/ui/image_box.h"
#include "platform/ui/image_combo.h"
#include "platform/ui/label.h"
#include "platform/ui/text_box.h"
#include "platform/ui/timer.h"
#include "program/program_windows.h"

namespace korvane::platform {
namespace {

class FormHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::offscreenApp(); }

  FormHostTest() {
    form.setClientSize(6045, 3735);
    frame.setGeometry({60, 2355, 4545, 1365});
    frame.setCaption("Options");
    button.setGeometry({4665, 930, 1320, 375});
    button.setCaption("About / Help");
    box.setGeometry({2010, 945, 765, 345});
    box.setText("59");
    combo.setGeometry({2805, 945, 1620, 345});
    for (const char* u : {"Second/s", "Minute/s"}) combo.addItem(u);
    check.setGeometry({135, 660, 4245, 240});
    label.setGeometry({225, 960, 1740, 225});
    label.setFont({"Lucida Console", 8.25, false, false});
    lamp.setGeometry({4755, 270, 240, 240});
    lamp.setFile("images/missing.png");
    form.add(frame);
    form.add(button);
    form.add(box, &frame);
    form.add(combo, &frame);
    form.add(check, &frame);
    form.add(label);
    form.add(lamp);
    form.add(timer);
  }

  template <class W>
  W* widgetOf(const ui::Control& c) {
    for (W* w : host->window()->findChildren<W*>())
      if (w->geometry().width() == toPixels(c.geometry().width) &&
          w->geometry().height() == toPixels(c.geometry().height))
        return w;
    return nullptr;
  }
  void makeHost() { host = std::make_unique<FormHost>(form, "/nonexistent", bindings); }

  ui::Form form{"TestForm"};
  ui::Frame frame{"Options"};
  ui::CommandButton button{"About"};
  ui::TextBox box{"SyncN"};
  ui::ComboBox combo{"SyncIntC"};
  ui::CheckBox check{"RandomCheck"};
  ui::Label label{"ROT"};
  ui::ImageBox lamp{"LED(0)"};
  ui::Timer timer{"SyncNow"};
  ControlBindings bindings = ControlBindings::standard();
  std::unique_ptr<FormHost> host;
};

TEST_F(FormHostTest, ClientSizeAndGeometryComeFromTwips) {
  makeHost();
  const int tpp = twipsPerPixel();
  EXPECT_EQ(tpp, 15) << "offscreen screens have 96 dpi";
  EXPECT_EQ(host->window()->size(), QSize(403, 249));
  auto* b = widgetOf<QPushButton>(button);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->geometry(), QRect(311, 62, 88, 25));
  auto* edit = widgetOf<QLineEdit>(box);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->parentWidget(), widgetOf<QGroupBox>(frame)) << "inside its frame";
  EXPECT_EQ(edit->geometry().topLeft(), QPoint(134, 63));
}

TEST_F(FormHostTest, ModelPropertiesReachTheWidgets) {
  makeHost();
  auto* b = widgetOf<QPushButton>(button);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->text(), "About / Help");
  button.setCaption("Help");
  button.setEnabled(false);
  button.setToolTipText(" tip ");
  combo.setAccessibleName("Interval unit");
  EXPECT_EQ(widgetOf<QComboBox>(combo)->accessibleName(), "Interval unit");
  EXPECT_EQ(b->text(), "Help");
  EXPECT_FALSE(b->isEnabled());
  EXPECT_EQ(b->toolTip(), " tip ");
  auto* l = widgetOf<QLabel>(label);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->font().family(), "Liberation Mono");
  EXPECT_EQ(b->font().family(), "Liberation Sans");
  box.setText("120");
  EXPECT_EQ(widgetOf<QLineEdit>(box)->text(), "120");
  EXPECT_EQ(widgetOf<QGroupBox>(frame)->title(), "Options");
}

// The clock box's text changes a line at a time; whatever changes, the box shows the model's
// lines, and nothing set by the program is left to undo.
TEST_F(FormHostTest, AMultiLineBoxShowsEachTextItIsGiven) {
  ui::TextBox current{"Current"};
  current.setMultiLine(true);
  current.setLocked(true);
  form.add(current);
  makeHost();
  QPlainTextEdit* w = host->window()->findChild<QPlainTextEdit*>();
  ASSERT_NE(w, nullptr);
  const struct {
    const char* text;
    const char* shown;
  } steps[] = {
      {"12:00:01\r\n  status", "12:00:01\n  status"},
      {"12:00:02\r\n  status", "12:00:02\n  status"},
      {"12:00:02\r\n  other", "12:00:02\n  other"},
      {"a\r\nb\r\nc", "a\nb\nc"},
      {"", ""},
      {"x\r\n", "x\n"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.text);
    current.setText(step.text);
    EXPECT_EQ(w->toPlainText().toStdString(), step.shown);
    EXPECT_FALSE(w->document()->isUndoAvailable());
  }
}

TEST_F(FormHostTest, MissingPictureShowsAPlaceholderOfTheControlSize) {
  makeHost();
  auto* l = widgetOf<QLabel>(lamp);
  ASSERT_NE(l, nullptr);
  ASSERT_FALSE(l->pixmap().isNull());
  EXPECT_EQ(l->pixmap().size(), QSize(16, 16));
}

TEST_F(FormHostTest, AnImageComboReadsAPictureOnlyForTheItemsItShows) {
  ui::ImageCombo servers{"Servers"};
  servers.setGeometry({135, 300, 4245, 330});
  for (int k = 1; k <= 60; ++k) servers.addItem("Server " + std::to_string(k), 1 + k % 7);
  servers.select(30);
  form.add(servers, &frame);
  makeHost();
  host->window()->show();
  QApplication::processEvents();
  auto* w = widgetOf<QComboBox>(servers);
  ASSERT_NE(w, nullptr);
  const auto* items = dynamic_cast<const ImageComboItems*>(w->model());
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(w->currentText(), "Server 30");
  EXPECT_LE(items->picturesRead(), 1);
  EXPECT_FALSE(w->itemIcon(0).isNull());  // asked for, read then
  w->showPopup();
  QApplication::processEvents();
  const int opened = items->picturesRead();
  EXPECT_GT(opened, 1);
  w->hidePopup();
  w->showPopup();
  QApplication::processEvents();
  EXPECT_EQ(items->picturesRead(), opened);  // each read once
  w->hidePopup();
  emit w->activated(4);
  EXPECT_EQ(servers.selectedIndex(), 5);
  servers.addItem("Server 61", 2);  // new items reach the box
  EXPECT_EQ(w->count(), 61);
  EXPECT_EQ(w->currentText(), "Server 5");
}

TEST_F(FormHostTest, UserActionsRaiseTheModelEvents) {
  int clicks = 0, checks = 0, chosen = 0;
  std::vector<int> keys;
  button.Click.connect([&] { ++clicks; });
  check.Click.connect([&] { ++checks; });
  combo.Click.connect([&] { ++chosen; });
  box.KeyPress.connect([&](int& k) { keys.push_back(k); });
  // The main window's rule: non-numeric text loses its last character.
  box.Change.connect([&] {
    const std::string t = box.text();
    if (!t.empty() && (t.back() < '0' || t.back() > '9')) box.setText(t.substr(0, t.size() - 1));
  });
  makeHost();
  host->window()->show();
  widgetOf<QPushButton>(button)->click();
  widgetOf<QCheckBox>(check)->click();
  auto* edit = widgetOf<QLineEdit>(box);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "12a");
  QTest::keyClick(edit, Qt::Key_Return);
  emit widgetOf<QComboBox>(combo)->activated(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(check.value(), 1);
  EXPECT_EQ(box.text(), "12");
  EXPECT_EQ(edit->text(), "12");
  EXPECT_EQ(keys, (std::vector<int>{'1', '2', 'a', 13}));
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(combo.text(), "Minute/s");
}

TEST_F(FormHostTest, ListOnlyComboTakesNoTyping) {
  combo.setListOnly(true);
  combo.setText("Minute/s");
  makeHost();
  host->window()->show();
  auto* w = widgetOf<QComboBox>(combo);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->isEditable());
  EXPECT_EQ(w->currentIndex(), 1);
  w->setFocus();
  QTest::keyClicks(w, ":x");
  EXPECT_EQ(combo.text().find(':'), std::string::npos) << combo.text();
  combo.setText("Minutes/s");  // a stored text that is no entry
  EXPECT_EQ(w->currentIndex(), -1);
  EXPECT_EQ(w->placeholderText(), "Minutes/s");
}

TEST_F(FormHostTest, EditableComboArrowsStartFromTheEntryItsTextNames) {
  combo.addItem("Hour/s");
  combo.setText("Minute/s");
  std::vector<std::string> chosen;
  combo.Click.connect([&] { chosen.push_back(combo.text()); });
  makeHost();
  host->window()->show();
  auto* w = widgetOf<QComboBox>(combo);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->isEditable());
  EXPECT_EQ(w->currentIndex(), 1);
  w->setFocus();
  QTest::keyClick(w, Qt::Key_Down);
  combo.setText("Second/s");
  QTest::keyClick(w, Qt::Key_Down);
  combo.setText("no entry");
  EXPECT_EQ(w->currentText(), "no entry");
  EXPECT_EQ(chosen, (std::vector<std::string>{"Hour/s", "Minute/s"}));
}

TEST_F(FormHostTest, KeyPressMayCancelACharacter) {
  box.KeyPress.connect([](int& k) {
    if (k == 'x') k = 0;
  });
  makeHost();
  auto* edit = widgetOf<QLineEdit>(box);
  edit->setText("");
  box.setText("");
  QTest::keyClicks(edit, "1x2");
  EXPECT_EQ(box.text(), "12");
}

TEST_F(FormHostTest, VisibilityStateAndCloseFollowTheForm) {
  int queries = 0, lastMode = -1;
  form.QueryUnload.connect([&](int&, int mode) {
    ++queries;
    lastMode = mode;
  });
  makeHost();
  form.load();
  form.show();
  EXPECT_TRUE(host->window()->isVisible());
  form.hide();
  EXPECT_FALSE(host->window()->isVisible());
  form.show();
  host->window()->close();
  EXPECT_EQ(queries, 1);
  EXPECT_EQ(lastMode, ui::kCloseFromControlMenu);
  EXPECT_FALSE(host->window()->isVisible());
  EXPECT_FALSE(form.loaded());
}

TEST_F(FormHostTest, EnterReachesTheFormAndEscapeClosesADialogOnly) {
  int enters = 0;
  form.EnterPressed.connect([&] { ++enters; });
  for (const bool dialog : {false, true}) {
    form.setClosesOnEscape(dialog);
    makeHost();
    form.load();
    form.show();
    QTest::keyClick(widgetOf<QLineEdit>(box), Qt::Key_Return);
    EXPECT_EQ(enters, dialog ? 2 : 1);
    QTest::keyClick(widgetOf<QLineEdit>(box), Qt::Key_Escape);
    EXPECT_EQ(form.loaded(), !dialog);
    form.unload(ui::kCloseFromCode);
  }
}

TEST_F(FormHostTest, TimerTicksWhileEnabled) {
  int ticks = 0;
  timer.Tick.connect([&] { ++ticks; });
  timer.setInterval(5);
  makeHost();
  QElapsedTimer clock;
  clock.start();
  while (ticks < 3 && clock.elapsed() < 2000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_GE(ticks, 3);
  timer.setEnabled(false);
  const int stopped = ticks;
  QTest::qWait(30);
  EXPECT_EQ(ticks, stopped);
}

TEST_F(FormHostTest, LayeredStyleBecomesTheWindowOpacity) {
  makeHost();
  QtWindows windows;
  windows.setLayeredWindowAttributes(form, 0, 100, kLwaAlpha);
  EXPECT_EQ(form.opacity(), 255) << "not layered yet";
  windows.setWindowLong(form, kGwlExStyle, kWsExLayered);
  EXPECT_EQ(form.opacity(), 100);
  EXPECT_NEAR(host->window()->windowOpacity(), 100 / 255.0, 0.01);
  windows.setWindowLong(form, kGwlExStyle, 0);
  EXPECT_EQ(form.opacity(), 255);
}

TEST_F(FormHostTest, ModelsOutliveTheirHostSafely) {
  makeHost();
  host.reset();
  button.setCaption("after");  // would reach a deleted widget if the host still listened
  form.setCaption("after");
  timer.setInterval(7);
  EXPECT_EQ(button.caption(), "after");
}

}  // namespace
}  // namespace korvane::platform

namespace korvane::platform {
namespace {

struct Gauge : ui::Control {
  using ui::Control::Control;
};
// A window of the program holding a control of that kind.
struct GaugeWindow : ui::Form {
  GaugeWindow() : ui::Form("Dial") { add(gauge); }
  Gauge gauge{"Needle"};
};

// The program asks before any window opens which window has a kind no binding shows.
TEST_F(FormHostTest, AControlKindWithoutABindingIsRefusedAtStart) {
  Gauge gauge{"Gauge"};
  form.add(gauge);
  EXPECT_THROW(makeHost(), UnboundControlError);
  {
    QtFormHosts hosts("/nonexistent", bindings);
    program::ProgramWindows windows(hosts);
    windows.add("Plain", [] { return std::make_unique<ui::Form>("Plain"); });
    EXPECT_EQ(windows.unhostableWindow(), "");
    windows.add("Dial", [] { return std::make_unique<GaugeWindow>(); });
    EXPECT_THAT(windows.unhostableWindow(),
                ::testing::StartsWith("the window Dial has a control no host can show: Needle ("));
  }
  bindings.add<Gauge>([](Gauge& g, QWidget* parent, FormHost&) {
    return ControlBinding{&g, new QWidget(parent), [] {}};
  });
  EXPECT_NO_THROW(makeHost());
  QtFormHosts hosts("/nonexistent", bindings);
  program::ProgramWindows windows(hosts);
  windows.add("Dial", [] { return std::make_unique<GaugeWindow>(); });
  EXPECT_EQ(windows.unhostableWindow(), "");
}

TEST_F(FormHostTest, APropertyChangeUpdatesOnlyWhatChanged) {
  makeHost();
  auto* shown = widgetOf<QLabel>(label);
  ASSERT_NE(shown, nullptr);
  // Marks left on the widget stay unless the model changes that very property.
  shown->setToolTip(QStringLiteral("mark"));
  shown->move(1, 2);
  label.setCaption("12:00:01");
  EXPECT_EQ(shown->text(), QStringLiteral("12:00:01"));
  EXPECT_EQ(shown->toolTip(), QStringLiteral("mark")) << "the tooltip was applied again";
  EXPECT_EQ(shown->pos(), QPoint(1, 2)) << "the geometry was applied again";
  label.setToolTipText(" tip ");
  EXPECT_EQ(shown->toolTip(), QStringLiteral(" tip "));
  EXPECT_EQ(shown->pos(), QPoint(1, 2));
}

// The program ending while a box is open releases a window whose handler waits under the box:
// the window lives on, inert, until the box has closed.
TEST_F(FormHostTest, AWindowReleasedUnderAMessageBoxGoesOnlyOnceTheBoxIsClosed) {
  QtFormHosts hosts("/nonexistent", ControlBindings::standard());
  form.load();
  hosts.host(form);
  form.show();
  const QPointer<QWidget> window = hosts.hostOf(form)->window();
  bool aliveUnderTheBox = false;
  QTimer::singleShot(0, [&] {
    form.unload(ui::kCloseForSessionEnd);
    hosts.release(form);
    QTimer::singleShot(50, [&] {
      aliveUnderTheBox = !window.isNull() && !window->isVisible();
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMessageBox*>(w); m && m->isVisible()) m->accept();
    });
  });
  QtMessageBoxes().show("CAUTION", "CAUTION!", MsgButtons::OK, MsgIcon::Critical);
  EXPECT_TRUE(aliveUnderTheBox);
  QElapsedTimer clock;
  clock.start();
  while (window && clock.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(window.isNull()) << "deleted once no nested loop runs";
  EXPECT_EQ(hosts.retiredCount(), 0u);
}

}  // namespace
}  // namespace korvane::platform
