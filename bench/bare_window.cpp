// SPDX-License-Identifier: GPL-3.0-or-later
// The smallest Qt Widgets program showing one window: what the start-up and idle benchmarks
// measure korvane against. With --text the window shows one line of text, which is what the
// first text costs (the font configuration and a font) beside it.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
  std::unique_ptr<QWidget> window =
      text ? std::make_unique<QLabel>(QStringLiteral("WED DECEMBER 9 2026 10:14:24"))
           : std::make_unique<QWidget>();
  window->setWindowTitle(QStringLiteral("bare"));
  window->resize(400, 300);
  window->show();
  return app.exec();
}
