// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/poll_loop.h"

#include <climits>
#include <vector>

namespace korvane::platform {

void PollLoop::watch(int fd, short events, IoHandler handler) {
  watches_[fd] = Watch{nextWatchId_++, events, std::make_shared<IoHandler>(std::move(handler))};
}

void PollLoop::setEvents(int fd, short events) {
  if (auto it = watches_.find(fd); it != watches_.end()) it->second.events = events;
}

void PollLoop::unwatch(int fd) {
  watches_.erase(fd);
}

PollLoop::TimerId PollLoop::addTimer(std::chrono::milliseconds delay, std::function<void()> fire) {
  const TimerId id = nextTimerId_++;
  const Clock::time_point due = Clock::now() + delay;
  timers_.emplace(std::make_pair(due, id), std::move(fire));
  timerDue_.emplace(id, due);
  return id;
}

void PollLoop::cancelTimer(TimerId id) {
  const auto it = timerDue_.find(id);
  if (it == timerDue_.end()) return;
  timers_.erase({it->second, id});
  timerDue_.erase(it);
}

void PollLoop::post(std::function<void()> call) {
  posted_.push_back(std::move(call));
}

void PollLoop::doEvents() {
  pass(Clock::now());
}

bool PollLoop::runUntil(const std::function<bool()>& done,
                        std::optional<Clock::time_point> deadline) {
  while (!done()) {
    if (deadline && Clock::now() >= *deadline) break;
    // Nothing could ever make done() true: waiting would never end.
    if (!deadline && watches_.empty() && timers_.empty() && posted_.empty()) break;
    pass(deadline);
  }
  return done();
}

void PollLoop::pass(std::optional<Clock::time_point> until) {
  dispatchDescriptors(pollTimeoutMillis(until));
  fireDueTimers();
  runPosted();
}

int PollLoop::pollTimeoutMillis(std::optional<Clock::time_point> until) const {
  if (!posted_.empty()) return 0;
  std::optional<Clock::time_point> wake = until;
  if (!timers_.empty() && (!wake || timers_.begin()->first.first < *wake))
    wake = timers_.begin()->first.first;
  if (!wake) return -1;
  const auto left = *wake - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  // Rounded up: waking a little early would only cost an extra pass, but never late by more
  // than the rounding.
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

void PollLoop::dispatchDescriptors(int timeoutMillis) {
  std::vector<pollfd> fds;
  std::vector<uint64_t> ids;
  for (const auto& [fd, w] : watches_) {
    if (w.events == 0) continue;
    fds.push_back({fd, w.events, 0});
    ids.push_back(w.id);
  }
  const int ready = poll(fds.data(), fds.size(), timeoutMillis);
  if (ready <= 0) return;  // nothing ready, or a signal interrupted the wait
  for (size_t i = 0; i < fds.size(); ++i) {
    if (fds[i].revents == 0) continue;
    // A handler that ran before may have closed this descriptor, or reused its number.
    const auto it = watches_.find(fds[i].fd);
    if (it == watches_.end() || it->second.id != ids[i]) continue;
    const std::shared_ptr<IoHandler> handler = it->second.handler;
    (*handler)(fds[i].revents);
  }
}

void PollLoop::fireDueTimers() {
  const Clock::time_point now = Clock::now();
  std::vector<TimerId> due;
  for (const auto& [key, fire] : timers_) {
    if (key.first > now) break;
    due.push_back(key.second);
  }
  for (TimerId id : due) {
    const auto at = timerDue_.find(id);
    if (at == timerDue_.end()) continue;  // cancelled by a timer that fired before it
    const auto it = timers_.find({at->second, id});
    std::function<void()> fire = std::move(it->second);
    timers_.erase(it);
    timerDue_.erase(at);
    fire();
  }
}

void PollLoop::runPosted() {
  for (size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
    std::function<void()> call = std::move(posted_.front());
    posted_.pop_front();
    call();
  }
}

}  // namespace korvane::platform
