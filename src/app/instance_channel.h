#pragma once
// The running instance's local socket: a second start asks it to show its main window.
#include <QLocalServer>
#include <QObject>
#include <functional>
#include <string>

namespace korvane::app {

// Listens at path while it lives; each "show" request calls show on the event loop.
class InstanceListener : public QObject {
 public:
  InstanceListener(const std::string& path, std::function<void()> show);
  bool listening() const { return server_.isListening(); }

 private:
  void accept();
  QLocalServer server_;
  std::function<void()> show_;
};

// Asks the instance listening at path to show its window; false when none answered.
bool askToShow(const std::string& path);

}  // namespace korvane::app
