// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/system_move.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <cstdlib>

#include "platform/qt/x11_connection.h"

namespace korvane::platform {

namespace {

constexpr int kButtonPollMs = 40;
// How many polls after the release Qt may take to hear of the window manager's last move.
constexpr int kSettlePollLimit = 12;

// The window's frame corner, by the window system's answer where it has one.
QPoint windowPlace(QWidget& window) {
  const QPoint frameToClient = window.mapToGlobal(QPoint(0, 0)) - window.pos();
  return nativeClientOrigin(window).value_or(window.mapToGlobal(QPoint(0, 0))) - frameToClient;
}

}  // namespace

SystemMove::SystemMove(QWidget& window, Mode mode, std::function<void()> ended)
    : window_(&window),
      mode_(mode),
      ended_(std::move(ended)),
      pointerStart_(QCursor::pos()),
      windowStart_(windowPlace(window)) {
  // Events reach the application before any widget: the pressed control keeps the mouse.
  qApp->installEventFilter(this);
  if (mode_ == Mode::WindowManagerMoves) {
    // The window manager holds the pointer while it moves the window, so the release is
    // seldom seen here: ask the window system for the buttons instead.
    QObject::connect(&poll_, &QTimer::timeout, this, [this] { pollButtons(); });
    poll_.start(kButtonPollMs);
  }
}

SystemMove::~SystemMove() {
  qApp->removeEventFilter(this);
}

bool SystemMove::eventFilter(QObject*, QEvent* event) {
  // One mouse event may pass here several times (native window, widget, its parents): each
  // step below gives the same outcome however often it runs.
  if (!running_) return false;
  if (!window_) {
    end();
    return false;
  }
  const auto type = event->type();
  const bool release =
      type == QEvent::MouseButtonRelease || type == QEvent::NonClientAreaMouseButtonRelease;
  if (mode_ == Mode::WindowManagerMoves) {
    if (release) released_ = true;  // the poll ends the drag once the window has settled
  } else if (type == QEvent::MouseMove || release) {
    follow(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    if (release) end();
  }
  return false;
}

void SystemMove::follow(QPoint pointer) {
  const QPoint to = windowStart_ + (pointer - pointerStart_);
  if (window_->pos() != to) window_->move(to);
}

void SystemMove::pollButtons() {
  if (!window_) return end();
  if (!released_) {
    if (pointerButtonDown().value_or(false)) return;
    released_ = true;
  }
  // Qt hears of the window manager's last moves by events that may still be on their way; the
  // caller reads the window's place when the drag ends, so wait until Qt has it.
  const auto native = nativeClientOrigin(*window_);
  if (native && *native != window_->mapToGlobal(QPoint(0, 0)) && ++settlePolls_ < kSettlePollLimit)
    return;
  end();
}

void SystemMove::end() {
  if (!running_) return;
  running_ = false;
  poll_.stop();
  qApp->removeEventFilter(this);
  const bool windowLeft = window_;
  auto ended = std::move(ended_);
  ended_ = nullptr;
  if (windowLeft && ended) ended();
}

}  // namespace korvane::platform
