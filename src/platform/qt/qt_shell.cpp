// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QUrl>

#include "platform/qt/qt_pictures.h"

namespace korvane::platform {

namespace {

// Each desktop's date and time settings: the programs that must all be on PATH, then the
// command line made of their full paths (%1, %2) and fixed arguments.
struct DateTimeSettings {
  std::vector<const char*> programs;
  std::vector<const char*> arguments;
};
const DateTimeSettings kDateTimeSettings[] = {
    {{"gnome-control-center"}, {"%1", "datetime"}},
    {{"systemsettings"}, {"%1", "kcm_clock"}},
    // The status stays until the user has read it: the terminal would close with timedatectl.
    {{"x-terminal-emulator", "timedatectl"},
     {"%1", "-e", "/bin/sh", "-c", "\"$0\"; printf '\\nPress Enter to close. '; read -r _", "%2"}},
};

// The command line of settings with its programs found on PATH; empty when one is missing.
std::vector<std::string> commandOf(const DateTimeSettings& settings) {
  std::vector<std::string> paths;
  for (const char* program : settings.programs) {
    const QString found = QStandardPaths::findExecutable(QString::fromLatin1(program));
    if (found.isEmpty()) return {};
    paths.push_back(found.toStdString());
  }
  std::vector<std::string> argv;
  for (const std::string a : settings.arguments)
    argv.push_back(a == "%1" ? paths[0] : a == "%2" ? paths.at(1) : a);
  return argv;
}

}  // namespace

QtShell::QtShell(std::string programFolder, ProcessLauncher& launcher)
    : folder_(QString::fromStdString(programFolder)), launcher_(launcher) {}

QtShell::~QtShell() = default;

bool QtShell::trayAvailable() const {
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtShell::apply(const TrayRecord& record) {
  icon_->setIcon(QIcon(loadPicture(folder_, record.iconFile, QSize(32, 32))));
  icon_->setToolTip(toQString(record.tip.shown()));
}

void QtShell::trayAdd(const TrayRecord& record) {
  if (!icon_) {
    icon_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                       int message = 0;
                       if (reason == QSystemTrayIcon::Trigger) message = kTrayLeftButtonUp;
                       if (reason == QSystemTrayIcon::DoubleClick) message = kTrayLeftDoubleClick;
                       if (reason == QSystemTrayIcon::Context) message = kTrayRightButtonUp;
                       // Out of the icon's own mouse handling, which must not see what follows.
                       if (message)
                         QMetaObject::invokeMethod(
                             icon_.get(),
                             [this, message] {
                               if (onTrayMessage) onTrayMessage(message);
                             },
                             Qt::QueuedConnection);
                     });
  }
  apply(record);
  icon_->show();
}

void QtShell::trayModify(const TrayRecord& record) {
  if (icon_ && icon_->isVisible()) apply(record);
}

void QtShell::trayDelete(const TrayRecord&) {
  if (icon_) icon_->hide();
}

void QtShell::open(const std::string& target) {
  const QString t = toQString(target);
  const QUrl url = QFileInfo(t).isAbsolute() ? QUrl::fromLocalFile(t) : QUrl(t);
  QDesktopServices::openUrl(url);
}

bool QtShell::openDateTimeSettings() {
  for (const DateTimeSettings& settings : kDateTimeSettings) {
    const std::vector<std::string> argv = commandOf(settings);
    if (!argv.empty() && launcher_.start(argv).ok) return true;
  }
  return false;
}

}  // namespace korvane::platform
