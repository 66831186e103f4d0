// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An event queue tests step by hand: doEvents runs what was pending when it was called.
#include <deque>
#include <functional>

#include "platform/event_loop.h"

namespace korvane::platform {

class FakeEventLoop : public EventLoop {
 public:
  void post(std::function<void()> event) { queue_.push_back(std::move(event)); }
  void doEvents() override {
    ++passes;
    for (size_t n = queue_.size(); n > 0 && !queue_.empty(); --n) {
      auto event = std::move(queue_.front());
      queue_.pop_front();
      event();
    }
    if (onDoEvents) onDoEvents();
  }
  size_t pending() const { return queue_.size(); }
  int passes = 0;
  // Runs after each pass, so a test can change the world while a handler waits.
  std::function<void()> onDoEvents;

 private:
  std::deque<std::function<void()>> queue_;
};

}  // namespace korvane::platform
