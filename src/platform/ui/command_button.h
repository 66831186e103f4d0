// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// A push button with a caption; Click is raised only while it is enabled.
class CommandButton : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { set(caption_, c); }
  // What a user's click does.
  void click() {
    if (enabled()) Click();
  }
  Event<> Click;

 private:
  std::string caption_;
};

}  // namespace korvane::ui
