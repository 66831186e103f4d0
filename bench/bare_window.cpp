// SPDX-License-Identifier: GPL-3.0-or-later
// The smallest Qt Widgets program showing one window: what the start-up and idle benchmarks
// measure korvane against.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.resize(400, 300);
  window.show();
  return app.exec();
}
