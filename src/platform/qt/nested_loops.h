// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Counts the nested event loops the program runs (choosers, message boxes, pending events): no
// window may be destroyed while one runs, as a handler of that window may be waiting under it.
namespace korvane::platform {

class NestedLoop {
 public:
  NestedLoop() { ++depth_; }
  ~NestedLoop() { --depth_; }
  NestedLoop(const NestedLoop&) = delete;
  NestedLoop& operator=(const NestedLoop&) = delete;
  static bool running() { return depth_ > 0; }

 private:
  static inline int depth_ = 0;
};

}  // namespace korvane::platform
