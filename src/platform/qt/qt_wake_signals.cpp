// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_wake_signals.h"

#include <QDBusConnection>

namespace korvane::platform {

QtWakeSignals::QtWakeSignals(std::function<void()> onWake) : onWake_(std::move(onWake)) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (bus.isConnected())
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                this, SLOT(prepareForSleep(bool)));
  if (routes_.fd() < 0) return;
  routeChanges_ = std::make_unique<QSocketNotifier>(routes_.fd(), QSocketNotifier::Read);
  QObject::connect(routeChanges_.get(), &QSocketNotifier::activated, this, [this] {
    if (routes_.changed()) onWake_();
  });
}

void QtWakeSignals::prepareForSleep(bool sleeping) {
  if (!sleeping) onWake_();
}

}  // namespace korvane::platform
