// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The running instance's local socket: a second start asks it to show its main window.
#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace korvane::app {

// Listens at path (a Unix socket only the user may reach) while it lives; each "show" request
// calls show on the event loop.
class InstanceListener : public QObject {
 public:
  InstanceListener(const std::string& path, std::function<void()> show);
  ~InstanceListener() override;
  bool listening() const { return fd_ >= 0; }

 private:
  void accept();
  void read(int client);
  void drop(int client);

  std::string path_;
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> incoming_;
  std::map<int, std::unique_ptr<QSocketNotifier>> clients_;
  std::function<void()> show_;
};

// Asks the instance listening at path to show its window; false when none answered.
bool askToShow(const std::string& path);

}  // namespace korvane::app
