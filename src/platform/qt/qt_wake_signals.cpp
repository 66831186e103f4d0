#include "platform/qt/qt_wake_signals.h"

#include <QDBusConnection>
#include <QNetworkInformation>

namespace korvane::platform {

QtWakeSignals::QtWakeSignals(std::function<void()> onWake) : onWake_(std::move(onWake)) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (bus.isConnected())
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                this, SLOT(prepareForSleep(bool)));
  watchNetwork();
}

void QtWakeSignals::prepareForSleep(bool sleeping) {
  if (!sleeping) onWake_();
}

void QtWakeSignals::watchNetwork() {
  using Info = QNetworkInformation;
  if (!Info::loadBackendByFeatures(Info::Feature::Reachability) || !Info::instance()) return;
  online_ = Info::instance()->reachability() == Info::Reachability::Online;
  QObject::connect(Info::instance(), &Info::reachabilityChanged, this,
                   [this](Info::Reachability r) {
                     const bool online = r == Info::Reachability::Online;
                     if (online && !online_) onWake_();
                     online_ = online;
                   });
}

}  // namespace korvane::platform
