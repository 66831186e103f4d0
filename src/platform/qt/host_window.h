// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QTimer>
#include <QWidget>

namespace korvane::platform {

class FormHost;

// The top-level widget of a hosted form: reports closing, state changes, moves and painting.
class HostWindow : public QWidget {
 public:
  explicit HostWindow(FormHost& host) : host_(host) {
    placeCheck_.setSingleShot(true);
    placeCheck_.setInterval(kPlaceCheckMs);
    connect(&placeCheck_, &QTimer::timeout, this, [this] { checkPlace(); });
  }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  static constexpr int kPlaceCheckMs = 100;
  // Whether Qt's place for the window is not the window system's; if so, a check follows that
  // corrects it.
  bool placeIsStale();
  void checkPlace();
  FormHost& host_;
  QTimer placeCheck_;
  bool paintedSinceShown_ = false;
};

}  // namespace korvane::platform
