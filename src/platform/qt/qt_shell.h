#pragma once
// The tray icon with QSystemTrayIcon, and opening documents with QDesktopServices.
#include <QObject>
#include <QString>
#include <memory>

#include "platform/shell.h"

class QSystemTrayIcon;

namespace korvane::platform {

class QtShell : public Shell {
 public:
  explicit QtShell(std::string programFolder);
  ~QtShell() override;
  bool trayAvailable() const override;
  void trayAdd(const TrayRecord& record) override;
  void trayModify(const TrayRecord& record) override;
  void trayDelete(const TrayRecord& record) override;
  void open(const std::string& documentOrUrl) override;

 private:
  void apply(const TrayRecord& record);
  QString folder_;
  std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace korvane::platform
