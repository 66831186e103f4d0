// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One widget application on the offscreen platform for a test process.
#include <QApplication>

namespace korvane::testing {

// Made on first use and kept to the end of the process: destroying it among the exit handlers
// crashes Qt.
inline QApplication& offscreenApp() {
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "korvane-gui-tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace korvane::testing
