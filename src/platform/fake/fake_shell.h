// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A shell that records its tray calls and opened documents; tests say whether a tray exists.
#include <string>
#include <vector>

#include "platform/shell.h"

namespace korvane::platform {

class FakeShell : public Shell {
 public:
  struct TrayCall {
    std::string op;  // "add", "modify", "delete"
    std::string iconFile;
    std::string tip;  // as shown
  };
  bool trayAvailable() const override { return hasTray; }
  void trayAdd(const TrayRecord& r) override { record("add", r); }
  void trayModify(const TrayRecord& r) override { record("modify", r); }
  void trayDelete(const TrayRecord& r) override { record("delete", r); }
  void open(const std::string& target) override { opened.push_back(target); }
  bool openDateTimeSettings() override {
    ++dateTimeSettingsOpened;
    return hasDateTimeSettings;
  }

  // A mouse message from the icon, as the desktop would send it.
  void trayMessage(int message) {
    if (onTrayMessage) onTrayMessage(message);
  }
  int count(const std::string& op) const {
    int n = 0;
    for (const TrayCall& c : calls) n += c.op == op ? 1 : 0;
    return n;
  }

  bool hasTray = true;
  bool hasDateTimeSettings = true;
  int dateTimeSettingsOpened = 0;
  std::vector<TrayCall> calls;
  std::vector<std::string> opened;
  std::vector<std::string>* log = nullptr;  // optional shared record of the order of calls

 private:
  void record(const char* op, const TrayRecord& r) {
    calls.push_back({op, r.iconFile, r.tip.shown()});
    if (log) log->push_back(std::string("tray ") + op);
  }
};

}  // namespace korvane::platform
