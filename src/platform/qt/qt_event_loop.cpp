// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_event_loop.h"

#include <QCoreApplication>

#include "platform/qt/nested_loops.h"

namespace korvane::platform {

void QtEventLoop::doEvents() {
  const NestedLoop nested;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace korvane::platform
