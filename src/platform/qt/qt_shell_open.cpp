// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_shell_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace korvane::platform {

void QtShellOpen::shellExecute(const std::string& verb, const std::string& file, const std::string&,
                               const std::string&, int) {
  if (verb != "open" || file.empty()) return;
  QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(file)));
}

void QtShellOpen::navigateTo(const std::string& url, const std::string& location,
                             const std::string&) {
  QUrl target = QUrl::fromUserInput(QString::fromStdString(url));
  if (!target.isValid()) return;
  if (!location.empty()) target.setFragment(QString::fromStdString(location));
  QDesktopServices::openUrl(target);
}

}  // namespace korvane::platform
