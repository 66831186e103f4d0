// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a socket on file descriptors needs of an event loop: descriptors watched for readiness and
// calls deferred to a later pass, all on the loop's one thread.
#include <poll.h>

#include <functional>

namespace korvane::platform {

class IoLoop {
 public:
  // Called with poll's revents for the descriptor (POLLIN, POLLOUT, POLLERR, POLLHUP).
  using IoHandler = std::function<void(short revents)>;

  virtual ~IoLoop() = default;
  // Watches fd for events (POLLIN and/or POLLOUT); replaces an earlier watch of fd.
  virtual void watch(int fd, short events, IoHandler handler) = 0;
  // Changes what fd is watched for; 0 keeps the watch but asks for nothing.
  virtual void setEvents(int fd, short events) = 0;
  // Stops watching fd; call it before closing fd.
  virtual void unwatch(int fd) = 0;
  // Calls call on a later pass of the loop, never from inside the caller.
  virtual void post(std::function<void()> call) = 0;
};

}  // namespace korvane::platform
