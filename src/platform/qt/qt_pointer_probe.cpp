// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_pointer_probe.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include "platform/qt/form_host.h"

namespace korvane::platform {

bool QtPointerProbe::pointerOver(const ui::Control& control) const {
  // widgetAt honours window shapes: a cut-off corner is not the button's.
  const QWidget* w = QApplication::widgetAt(QCursor::pos());
  return w && FormHost::controlOf(w) == &control;
}

}  // namespace korvane::platform
