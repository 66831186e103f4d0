// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the widget under the desktop's pointer is the one a form host made for a control.
#include "platform/pointer_probe.h"

namespace korvane::platform {

class QtPointerProbe : public PointerProbe {
 public:
  bool pointerOver(const ui::Control& control) const override;
};

}  // namespace korvane::platform
