#pragma once
// Native windows for forms made at run time: a form is hosted while it is loaded.
#include "platform/ui/form.h"

namespace korvane::platform {

class FormHosts {
 public:
  virtual ~FormHosts() = default;
  // Mirrors form as a native window until release; hosting a hosted form does nothing.
  virtual void host(ui::Form& form) = 0;
  // Ends the mirror; safe inside the form's own events (the window goes once they return).
  virtual void release(ui::Form& form) = 0;
};

}  // namespace korvane::platform
