// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// A round option button. Option buttons in one container form a group: the form clears the
// others when one is set (see Form::add). Setting the value to true, by code or by the user,
// raises Click; clearing it raises nothing.
class OptionButton : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { set(caption_, c); }
  bool value() const { return value_; }
  void setValue(bool on) {
    if (!set(value_, on) || !on) return;
    Selected();
    Click();
  }
  Event<> Click;
  // Raised before Click when the button became the set one; the form clears its group here.
  Event<> Selected;

 private:
  std::string caption_;
  bool value_ = false;
};

}  // namespace korvane::ui
