// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window dragged with the mouse as by its title bar: either the window manager moves it and we
// wait for the button to come up, or (no window manager) the window follows the pointer.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

namespace korvane::platform {

class SystemMove : public QObject {
 public:
  enum class Mode { WindowManagerMoves, FollowPointer };
  // ended runs once, when the mouse button is released, unless the window is gone by then.
  SystemMove(QWidget& window, Mode mode, std::function<void()> ended);
  ~SystemMove() override;
  // Ends the drag where it is: stops watching and runs ended. Nothing of this object is touched
  // after ended returns.
  void end();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void follow(QPoint pointer);
  void pollButtons();

  QPointer<QWidget> window_;
  Mode mode_;
  std::function<void()> ended_;
  QPoint pointerStart_;
  QPoint windowStart_;
  QTimer poll_;
  bool running_ = true;
  bool released_ = false;  // the window manager's move is over; its last moves may be on the way
  int settlePolls_ = 0;
};

}  // namespace korvane::platform
