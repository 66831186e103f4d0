// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/mouse_events.h"

#include <QMouseEvent>
#include <QWidget>

#include "platform/qt/form_host.h"
#include "platform/ui/control.h"

namespace korvane::platform {

namespace {

int buttonBits(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? ui::kLeftButton : 0) |
         (buttons & Qt::RightButton ? ui::kRightButton : 0) |
         (buttons & Qt::MiddleButton ? ui::kMiddleButton : 0);
}

int shiftBits(Qt::KeyboardModifiers keys) {
  return (keys & Qt::ShiftModifier ? ui::kShiftMask : 0) |
         (keys & Qt::ControlModifier ? ui::kCtrlMask : 0) |
         (keys & Qt::AltModifier ? ui::kAltMask : 0);
}

// True when the point lies on another control's widget inside this one: Qt hands a mouse event
// the child left unhandled on to its parent, but the user pointed at the child.
bool onInnerControl(QWidget* widget, QPoint pos) {
  for (QWidget* hit = widget->childAt(pos); hit && hit != widget; hit = hit->parentWidget())
    if (FormHost::controlOf(hit)) return true;
  return false;
}

class MouseForwarder : public QObject {
 public:
  MouseForwarder(QWidget* widget, MouseEvents events)
      : QObject(widget), widget_(widget), events_(std::move(events)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched != widget_ ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove))
      return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (!widget_->isEnabled() || onInnerControl(widget_, mouse->position().toPoint())) return false;
    if (type == QEvent::MouseButtonDblClick) {
      if (events_.doubleClick) (*events_.doubleClick)();
      return false;
    }
    MouseEvent* raised = type == QEvent::MouseButtonPress     ? events_.down
                         : type == QEvent::MouseButtonRelease ? events_.up
                                                              : events_.move;
    if (!raised) return false;
    // A press or release names its own button; a move names every button held.
    const int buttons = buttonBits(type == QEvent::MouseMove ? mouse->buttons()
                                                             : Qt::MouseButtons(mouse->button()));
    const double scale = events_.scale ? events_.scale() : 1.0;
    const QPointF p = mouse->position();
    (*raised)(buttons, shiftBits(mouse->modifiers()), p.x() * scale, p.y() * scale);
    return false;
  }

 private:
  QWidget* widget_;
  MouseEvents events_;
};

}  // namespace

void forwardMouse(QWidget* widget, MouseEvents events) {
  widget->setMouseTracking(true);
  widget->installEventFilter(new MouseForwarder(widget, std::move(events)));
}

}  // namespace korvane::platform
