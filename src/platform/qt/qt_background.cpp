// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_background.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

namespace korvane::platform {

void QtBackgroundWork::run(std::function<void()> work, std::function<void()> done) {
  const std::weak_ptr<int> alive = alive_;
  QThreadPool::globalInstance()->start([work, done, alive] {
    work();
    // The token is read on the UI thread only, where this object lives and dies.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [done, alive] {
          if (alive.lock()) done();
        },
        Qt::QueuedConnection);
  });
}

}  // namespace korvane::platform
