// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the UI thread (a self-pipe read by a
// QSocketNotifier): the signal handler itself only writes one byte.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace korvane::app {

class SignalWatch : public QObject {
 public:
  explicit SignalWatch(std::function<void()> onSignal);
  ~SignalWatch() override;

 private:
  std::function<void()> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace korvane::app
