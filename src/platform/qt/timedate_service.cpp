#include "platform/qt/timedate_service.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace korvane::platform {

namespace {
// Long enough for the administrator to type a password when polkit asks for one.
constexpr int kAnswerWaitMs = 120000;
}  // namespace

ClockResult TimedateService::setTime(int64_t microseconds, bool relative,
                                     const ClockResult& directRefusal) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return directRefusal;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
      QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
  call << static_cast<qlonglong>(microseconds) << relative << true;  // polkit may ask once
  call.setInteractiveAuthorizationAllowed(true);
  const QDBusMessage reply = bus.call(call, QDBus::Block, kAnswerWaitMs);
  if (reply.type() == QDBusMessage::ReplyMessage) return {};
  return timeServiceRefusal(reply.errorName().toStdString(), reply.errorMessage().toStdString(),
                            directRefusal);
}

}  // namespace korvane::platform
