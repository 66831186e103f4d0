// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Native windows for forms made at run time: a form is hosted while it is loaded.
#include <string>

#include "platform/ui/form.h"

namespace korvane::platform {

class FormHosts {
 public:
  virtual ~FormHosts() = default;
  // Mirrors form as a native window until release; hosting a hosted form does nothing.
  virtual void host(ui::Form& form) = 0;
  // Ends the mirror; safe inside the form's own events (the window goes once they return).
  virtual void release(ui::Form& form) = 0;
  // A control of form this host could not show (its name and kind); empty when it shows them
  // all. Asked at start, so that a missing kind never surfaces inside a window's event.
  virtual std::string unboundControl(const ui::Form& /*form*/) const { return {}; }
};

}  // namespace korvane::platform
