// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work that blocks (a TLS handshake) off the UI thread: work runs elsewhere, then done runs later
// on the UI thread. The two share nothing but what their captures own.
#include <functional>

namespace korvane::platform {

class BackgroundWork {
 public:
  virtual ~BackgroundWork() = default;
  virtual void run(std::function<void()> work, std::function<void()> done) = 0;
};

}  // namespace korvane::platform
