#include "platform/qt/qt_shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QSystemTrayIcon>
#include <QUrl>

#include "platform/qt/qt_pictures.h"

namespace korvane::platform {

QtShell::QtShell(std::string programFolder) : folder_(QString::fromStdString(programFolder)) {}

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

}  // namespace korvane::platform
