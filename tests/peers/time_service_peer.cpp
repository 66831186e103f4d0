// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the system's time service on a private bus: SetTime sets the simulated clock
// (KORVANE_CLOCK_FILE), or answers with one of the service's refusals.
//   korvane-time-service-peer ANSWER LOG
// ANSWER: set | slow-set | automatic-sync | interactive-auth | access-denied; slow-set sets and
// answers 5 s after the call, as when a password is asked for. LOG gets "ready" once the
// service owns its name, then one line per call: "SetTime <usec> <relative> <interactive>".
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "platform/posix/simulated_clock.h"

namespace {

using korvane::platform::ClockResult;
using korvane::platform::SimulatedClock;
using korvane::platform::SystemTime;

SystemTime utcOfMicros(long long usec) {
  const time_t seconds = static_cast<time_t>(usec / 1000000);
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_wday, tm.tm_mday,
          tm.tm_hour,        tm.tm_min,     tm.tm_sec,  static_cast<int>(usec % 1000000 / 1000)};
}

class TimeDate : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.timedate1")

 public:
  TimeDate(std::string answer, std::string log)
      : answer_(std::move(answer)), log_(std::move(log)) {}

 public slots:
  void SetTime(qlonglong usec, bool relative, bool interactive) {
    std::ofstream(log_, std::ios::app)
        << "SetTime " << usec << ' ' << relative << ' ' << interactive << '\n';
    if (answer_ == "automatic-sync")
      return sendErrorReply(QStringLiteral("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"),
                            QStringLiteral("Automatic time synchronization is enabled"));
    if (answer_ == "interactive-auth")
      return sendErrorReply(
          QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"),
          QStringLiteral("Interactive authentication required."));
    if (answer_ == "access-denied")
      return sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Permission denied"));
    if (answer_ != "slow-set") {
      const QString why = set(usec, relative);
      if (!why.isEmpty()) sendErrorReply(QDBusError::Failed, why);
      return;
    }
    setDelayedReply(true);
    const QDBusMessage call = message();
    const QDBusConnection bus = connection();
    QTimer::singleShot(5000, this, [this, call, bus, usec, relative] {
      const QString why = set(usec, relative);
      std::ofstream(log_, std::ios::app) << "answered\n";
      bus.send(why.isEmpty() ? call.createReply() : call.createErrorReply(QDBusError::Failed, why));
    });
  }

 private:
  // Sets the simulated clock; the reason when it cannot.
  static QString set(qlonglong usec, bool relative) {
    const char* file = std::getenv("KORVANE_CLOCK_FILE");
    if (!file || !*file) return QStringLiteral("no simulated clock to set");
    SimulatedClock clock(file);
    const ClockResult r =
        relative ? clock.shiftSystemTime(usec) : clock.setSystemTime(utcOfMicros(usec));
    return r.ok ? QString() : QString::fromStdString(r.reason);
  }

  std::string answer_;
  std::string log_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: %s set|slow-set|automatic-sync|interactive-auth|access-denied LOG\n",
                 argv[0]);
    return 2;
  }
  TimeDate service(argv[1], argv[2]);
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.registerObject(QStringLiteral("/org/freedesktop/timedate1"), &service,
                          QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QStringLiteral("org.freedesktop.timedate1"))) {
    std::fprintf(stderr, "cannot serve on the system bus: %s\n",
                 qPrintable(bus.lastError().message()));
    return 1;
  }
  std::ofstream(argv[2]) << "ready\n";
  return app.exec();
}

#include "time_service_peer.moc"
