// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// A timer control: while enabled, the host calls tick() every interval milliseconds and it
// raises Tick (the Timer event). Enabling and the interval are properties a host mirrors.
class Timer : public Control {
 public:
  explicit Timer(std::string name, int intervalMs = 0) : Control(std::move(name)) {
    interval_ = intervalMs;
  }
  int interval() const { return interval_; }
  void setInterval(int ms) { set(interval_, ms); }
  // A one-second timer that ticks just after each whole second of the program's clock.
  bool onSecond() const { return onSecond_; }
  void setOnSecond(bool on) { set(onSecond_, on); }
  // What the host calls when the interval has passed.
  void tick() {
    if (enabled() && interval_ > 0) Tick();
  }
  Event<> Tick;

 private:
  int interval_ = 0;
  bool onSecond_ = false;
};

}  // namespace korvane::ui
