#include "platform/qt/qt_event_loop.h"

#include <QCoreApplication>

namespace korvane::platform {

void QtEventLoop::doEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace korvane::platform
