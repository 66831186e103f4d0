// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the desktop tells of a resume and of the network's return: logind's PrepareForSleep
// (false: the computer has woken) where the system bus has it, and a default route appearing in
// the kernel's routing table. Neither is needed: a resume is also seen by the clocks.
#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "platform/posix/route_watch.h"

namespace korvane::platform {

class QtWakeSignals : public QObject {
  Q_OBJECT

 public:
  // onWake is called on the UI thread, once for each resume or return of the network.
  explicit QtWakeSignals(std::function<void()> onWake);

 private slots:
  void prepareForSleep(bool sleeping);

 private:
  std::function<void()> onWake_;
  RouteWatch routes_;
  std::unique_ptr<QSocketNotifier> routeChanges_;
};

}  // namespace korvane::platform
