// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/event_loop.h"

namespace korvane::platform {

class QtEventLoop : public EventLoop {
 public:
  void doEvents() override;
};

}  // namespace korvane::platform
