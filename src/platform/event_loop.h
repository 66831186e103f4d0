// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace korvane::platform {

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Lets the window, timer and socket events that are pending run once.
  virtual void doEvents() = 0;
};

}  // namespace korvane::platform
