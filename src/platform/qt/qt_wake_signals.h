#pragma once
// What the desktop tells of a resume and of the network's return: logind's PrepareForSleep
// (false: the computer has woken) where the system bus has it, and Qt's network reachability
// where a backend exists. Neither is needed: a resume is also seen by the clocks.
#include <QObject>
#include <functional>

namespace korvane::platform {

class QtWakeSignals : public QObject {
  Q_OBJECT

 public:
  // onWake is called on the UI thread, once for each resume or return of the network.
  explicit QtWakeSignals(std::function<void()> onWake);

 private slots:
  void prepareForSleep(bool sleeping);

 private:
  void watchNetwork();
  std::function<void()> onWake_;
  bool online_ = false;
};

}  // namespace korvane::platform
