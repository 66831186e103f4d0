#include "platform/qt/system_move.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <cstdlib>

#ifdef KORVANE_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace korvane::platform {

namespace {
constexpr int kButtonPollMs = 40;
}  // namespace

std::optional<bool> pointerButtonDown() {
#ifdef KORVANE_HAVE_XCB
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return std::nullopt;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (!screen) return std::nullopt;
  xcb_query_pointer_reply_t* reply =
      xcb_query_pointer_reply(c, xcb_query_pointer(c, screen->root), nullptr);
  if (!reply) return std::nullopt;
  const uint16_t buttons = XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_2 |
                           XCB_KEY_BUT_MASK_BUTTON_3 | XCB_KEY_BUT_MASK_BUTTON_4 |
                           XCB_KEY_BUT_MASK_BUTTON_5;
  const bool down = reply->mask & buttons;
  free(reply);
  return down;
#else
  return std::nullopt;
#endif
}

SystemMove::SystemMove(QWidget& window, Mode mode, std::function<void()> ended)
    : window_(&window),
      mode_(mode),
      ended_(std::move(ended)),
      pointerStart_(QCursor::pos()),
      windowStart_(window.pos()) {
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
  if (type == QEvent::MouseMove && mode_ == Mode::FollowPointer) {
    follow(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
  } else if (type == QEvent::MouseButtonRelease ||
             type == QEvent::NonClientAreaMouseButtonRelease) {
    if (mode_ == Mode::FollowPointer)
      follow(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    end();
  }
  return false;
}

void SystemMove::follow(QPoint pointer) {
  const QPoint to = windowStart_ + (pointer - pointerStart_);
  if (window_->pos() != to) window_->move(to);
}

void SystemMove::pollButtons() {
  if (!window_ || !pointerButtonDown().value_or(false)) end();
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
