// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the mouse pointer is: whether the window under it is a given control's window.
#include "platform/ui/control.h"

namespace korvane::platform {

class PointerProbe {
 public:
  virtual ~PointerProbe() = default;
  // True when the window under the pointer's screen position is control's own window.
  virtual bool pointerOver(const ui::Control& control) const = 0;
};

}  // namespace korvane::platform
