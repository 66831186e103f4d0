// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small event loop on poll(2) for programs without a toolkit (the command-line tool): file
// descriptors to watch, one-shot timers on the steady clock and deferred calls. Everything runs
// on the thread that calls doEvents or runUntil; there are no locks.
#include <poll.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "platform/event_loop.h"
#include "platform/posix/io_loop.h"

namespace korvane::platform {

class PollLoop : public EventLoop, public IoLoop {
 public:
  using Clock = std::chrono::steady_clock;
  using TimerId = uint64_t;
  using IoLoop::IoHandler;

  // Watches fd for events (POLLIN and/or POLLOUT); replaces an earlier watch of fd.
  void watch(int fd, short events, IoHandler handler) override;
  // Changes what fd is watched for; 0 keeps the watch but asks for nothing.
  void setEvents(int fd, short events) override;
  // Stops watching fd; call it before closing fd.
  void unwatch(int fd) override;
  bool watching(int fd) const { return watches_.count(fd) > 0; }

  // Calls fire once, no earlier than delay from now. Timers due together fire in the order
  // they were added.
  TimerId addTimer(std::chrono::milliseconds delay, std::function<void()> fire);
  void cancelTimer(TimerId id);

  // Calls call on a later pass of the loop, never from inside the caller.
  void post(std::function<void()> call) override;

  // One pass that does not wait: ready descriptors, due timers, then the calls posted before.
  void doEvents() override;
  // Runs passes until done() holds or the deadline passes; returns done(). Waits in poll, never
  // longer than the next timer or the deadline.
  bool runUntil(const std::function<bool()>& done,
                std::optional<Clock::time_point> deadline = std::nullopt);

 private:
  struct Watch {
    uint64_t id;
    short events;
    std::shared_ptr<IoHandler> handler;  // shared: a handler may unwatch itself while it runs
  };

  // One pass, waiting at most until `until` (now: do not wait; none: until something happens).
  void pass(std::optional<Clock::time_point> until);
  int pollTimeoutMillis(std::optional<Clock::time_point> until) const;
  void dispatchDescriptors(int timeoutMillis);
  void fireDueTimers();
  void runPosted();

  std::map<int, Watch> watches_;
  std::map<std::pair<Clock::time_point, TimerId>, std::function<void()>> timers_;
  std::map<TimerId, Clock::time_point> timerDue_;
  std::deque<std::function<void()>> posted_;
  uint64_t nextWatchId_ = 1;
  TimerId nextTimerId_ = 1;
};

}  // namespace korvane::platform
