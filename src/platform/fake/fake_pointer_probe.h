// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pointer is over the control the test names (none by default).
#include "platform/pointer_probe.h"

namespace korvane::platform {

class FakePointerProbe : public PointerProbe {
 public:
  bool pointerOver(const ui::Control& control) const override { return &control == over; }
  const ui::Control* over = nullptr;
};

}  // namespace korvane::platform
