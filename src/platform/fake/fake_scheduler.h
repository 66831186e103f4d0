// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives every enabled ui::Timer it watches from the fake clock, so a test runs hours of ticks
// in milliseconds: run(ms) moves the clock from one due timer to the next and ticks it. A timer
// on the second is re-armed from the clock at each wake-up, as the desktop host does.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/fake/fake_clock.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

namespace korvane::platform {

class FakeScheduler {
 public:
  explicit FakeScheduler(FakeClock& clock) : clock_(clock) {}
  FakeScheduler(const FakeScheduler&) = delete;
  FakeScheduler& operator=(const FakeScheduler&) = delete;

  void watch(ui::Timer& timer);
  void forget(const ui::Timer& timer);
  // Every timer among the form's controls.
  void watch(ui::Form& form);
  void forget(const ui::Form& form);

  // Moves the clock on by millis, ticking each timer whenever its interval has passed.
  void run(int64_t millis);
  // Milliseconds run so far.
  int64_t elapsed() const { return now_; }
  int ticks() const { return ticks_; }
  size_t watched() const { return entries_.size(); }

 private:
  struct Entry {
    ui::Timer* timer = nullptr;
    bool armed = false;
    bool onSecond = false;  // ticks just after each whole second of the clock
    int interval = 0;
    int64_t due = 0;
    ui::ScopedConnection changed;
  };
  void rearm(Entry& e);

  FakeClock& clock_;
  std::vector<std::unique_ptr<Entry>> entries_;
  int64_t now_ = 0;
  int ticks_ = 0;
};

}  // namespace korvane::platform
