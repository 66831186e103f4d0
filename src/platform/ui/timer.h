#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// A timer: while enabled it raises Tick every interval milliseconds (a host drives it).
class Timer : public Control {
 public:
  explicit Timer(std::string name) : Control(std::move(name)) { setVisible(false); }
  int interval() const { return interval_; }
  void setInterval(int ms) { set(interval_, ms); }
  // One firing, as the host's timer does it.
  void tick() {
    if (enabled()) Tick();
  }
  Event<> Tick;

 private:
  int interval_ = 0;
};

}  // namespace korvane::ui
