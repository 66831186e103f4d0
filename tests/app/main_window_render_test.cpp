// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, wired as main wires it, hosted offscreen: its size, and the clock and status
// both readable in the display box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>

#include "app/button_binding.h"
#include "app/korvane_program.h"
#include "app/qt_button_widget.h"
#include "common/tip_field.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_images.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_os_version.h"
#include "platform/fake/fake_pickers.h"
#include "platform/fake/fake_process.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_socket.h"
#include "platform/fake/fake_windows.h"
#include "platform/qt/offscreen_app.h"
#include "platform/qt/qt_form_hosts.h"
#include "platform/qt/qt_system_colours.h"
#include "platform/qt/qt_text_renderer.h"
#include "shell/nxo_krv.h"

namespace korvane::platform {
namespace {

TEST(MainWindowRenderTest, DisplayBoxShowsClockAndStatusLines) {
  testing::offscreenApp();
  FakeClock clock(1765123545678LL);
  FakeEventLoop events;
  FakeLocale locale;
  FakeRandom random;
  FakeSocketFactory sockets;
  FakeShell shell;
  FakeWindows windows;
  FakeEnvironment environment;
  environment.line = "-x";
  QtTextRenderer text;
  QtSystemColours colours;
  FakeRegistry registry;
  FakeMessageBoxes boxes;
  FakeFiles files;
  FakeOsVersion os;
  FakePickers pickers;
  FakeImages images;
  FakeProcessLauncher launcher;
  ControlBindings bindings = ControlBindings::standard();
  app::addButtonBinding(bindings);
  QtFormHosts hosts(KORVANE_TEST_DATA_DIR, std::move(bindings));
  app::KorvaneProgram program({{clock, events, locale, random, sockets},
                               {shell, windows, environment, 5, 1, 0, {&text, &colours}},
                               hosts,
                               registry,
                               boxes,
                               files,
                               os,
                               pickers,
                               images,
                               launcher});
  shell::NXO_KRV& window = program.mainWindow();
  ASSERT_TRUE(program.start());
  const FormHost& host = *hosts.hostOf(window);
  window.SyncStatus = "Time Adjusted by -12 second(s)";
  window.SyncNow.tick();
  QApplication::processEvents();

  EXPECT_EQ(host.window()->size(), QSize(403, 249));
  QPlainTextEdit* current = nullptr;
  for (auto* edit : host.window()->findChildren<QPlainTextEdit*>()) current = edit;
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->toPlainText(),
            "   SUN DECEMBER 7 2025 4:05:45 PM\n  Time Adjusted by -12 second(s)");
  const int lineHeight = current->fontMetrics().lineSpacing();
  EXPECT_GE(current->viewport()->height(), 2 * lineHeight) << "both lines fit";
  QStringList captions;
  for (auto* b : host.window()->findChildren<app::ButtonWidget*>()) {
    captions << QString::fromStdString(b->model().caption());
    EXPECT_EQ(b->size(), QSize(88, 25)) << b->model().name();
  }
  captions.sort();
  EXPECT_EQ(captions, QStringList({"About / Help", "Advanced", "Minimize", "Synchronize"}));
  QDir().mkpath(KORVANE_TEST_SCREENS);
  EXPECT_TRUE(host.window()->grab().save(KORVANE_TEST_SCREENS "/main_window_offscreen.png"));
}

}  // namespace
}  // namespace korvane::platform
