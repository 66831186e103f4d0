// A stand-in for the system's time service on a private bus: SetTime sets the simulated clock
// (KORVANE_CLOCK_FILE), or answers with one of the service's refusals.
//   korvane-time-service-peer ANSWER LOG
// ANSWER: set | automatic-sync | interactive-auth | access-denied. LOG gets "ready" once the
// service owns its name, then one line per call: "SetTime <usec> <relative> <interactive>".
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QObject>
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
    const char* file = std::getenv("KORVANE_CLOCK_FILE");
    if (!file || !*file)
      return sendErrorReply(QDBusError::Failed, QStringLiteral("no simulated clock to set"));
    SimulatedClock clock(file);
    const ClockResult r =
        relative ? clock.shiftSystemTime(usec) : clock.setSystemTime(utcOfMicros(usec));
    if (!r.ok) sendErrorReply(QDBusError::Failed, QString::fromStdString(r.reason));
  }

 private:
  std::string answer_;
  std::string log_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s set|automatic-sync|interactive-auth|access-denied LOG\n",
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
