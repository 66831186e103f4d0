// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/timedate_service.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace korvane::platform {

namespace {
// Long enough for the administrator to type a password when polkit asks for one.
constexpr int kAnswerWaitMs = 120000;

QDBusMessage setTimeCall(int64_t microseconds, bool relative) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
      QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
  call << static_cast<qlonglong>(microseconds) << relative << true;  // polkit may ask once
  call.setInteractiveAuthorizationAllowed(true);
  return call;
}

ClockResult resultOf(const QDBusMessage& reply, const ClockResult& directRefusal) {
  if (reply.type() == QDBusMessage::ReplyMessage) return {};
  return timeServiceRefusal(reply.errorName().toStdString(), reply.errorMessage().toStdString(),
                            directRefusal);
}
}  // namespace

ClockResult TimedateService::setTime(int64_t microseconds, bool relative,
                                     const ClockResult& directRefusal) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return directRefusal;
  return resultOf(bus.call(setTimeCall(microseconds, relative), QDBus::Block, kAnswerWaitMs),
                  directRefusal);
}

void TimedateService::setTimeThen(int64_t microseconds, bool relative,
                                  const ClockResult& directRefusal, SystemClock::ClockAnswer done) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return done(directRefusal);
  auto* watcher = new QDBusPendingCallWatcher(
      bus.asyncCall(setTimeCall(microseconds, relative), kAnswerWaitMs), &pending_);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [watcher, directRefusal, done = std::move(done)] {
                     watcher->deleteLater();
                     done(resultOf(watcher->reply(), directRefusal));
                   });
}

}  // namespace korvane::platform
