// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tray icon with QSystemTrayIcon, opening documents with QDesktopServices, and starting
// the desktop's date and time settings.
#include <QObject>
#include <QString>
#include <memory>

#include "platform/process.h"
#include "platform/shell.h"

class QSystemTrayIcon;

namespace korvane::platform {

class QtShell : public Shell {
 public:
  QtShell(std::string programFolder, ProcessLauncher& launcher);
  ~QtShell() override;
  bool trayAvailable() const override;
  void trayAdd(const TrayRecord& record) override;
  void trayModify(const TrayRecord& record) override;
  void trayDelete(const TrayRecord& record) override;
  void open(const std::string& documentOrUrl) override;
  // The first of the desktops' date and time settings found on PATH.
  bool openDateTimeSettings() override;

 private:
  void apply(const TrayRecord& record);
  QString folder_;
  ProcessLauncher& launcher_;
  std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace korvane::platform
