// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One QCoreApplication for a test process, and running its loop until a condition holds.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace korvane::testing {

inline QCoreApplication& qtTestApp() {
  static int argc = 1;
  static char name[] = "korvane-tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Runs the Qt event loop until done() holds or timeoutMs pass; returns done().
inline bool runQtUntil(const std::function<bool()>& done, int timeoutMs) {
  qtTestApp();
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
  return done();
}

}  // namespace korvane::testing
