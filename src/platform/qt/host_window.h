#pragma once
#include <QWidget>

namespace korvane::platform {

class FormHost;

// The top-level widget of a hosted form: reports closing, state changes, moves and painting.
class HostWindow : public QWidget {
 public:
  explicit HostWindow(FormHost& host) : host_(host) {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  FormHost& host_;
  bool paintedSinceShown_ = false;
};

}  // namespace korvane::platform
