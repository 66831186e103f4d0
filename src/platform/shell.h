// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop shell: the notification-area (tray) icon and opening documents and web pages.
#include <functional>
#include <string>

#include "common/tip_field.h"

namespace korvane::platform {

// The mouse message numbers a tray icon reports to its owner.
constexpr int kTrayLeftButtonUp = 514;     // 0x202
constexpr int kTrayLeftDoubleClick = 515;  // 0x203
constexpr int kTrayRightButtonUp = 517;    // 0x205
constexpr int kTrayCallbackMessage = 0x200;

// The notification-icon record: what the shell is given on every call.
struct TrayRecord {
  int size = 88;
  int id = 1;
  int flags = 7;  // message, icon and tip valid
  int callbackMessage = kTrayCallbackMessage;
  std::string iconFile;  // under the program folder
  TipField tip;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Whether the desktop shows tray icons at all.
  virtual bool trayAvailable() const = 0;
  virtual void trayAdd(const TrayRecord& record) = 0;
  virtual void trayModify(const TrayRecord& record) = 0;
  virtual void trayDelete(const TrayRecord& record) = 0;
  // Opens a file or a web address with the desktop's handler (the "open" verb).
  virtual void open(const std::string& documentOrUrl) = 0;
  // Starts the desktop's date and time settings; false when the desktop has none.
  virtual bool openDateTimeSettings() { return false; }

  // The icon's mouse messages (514, 515, 517, ...), delivered on the UI thread.
  std::function<void(int message)> onTrayMessage;
};

}  // namespace korvane::platform
