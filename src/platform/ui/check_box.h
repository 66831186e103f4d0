// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// A check box: value 0 clear, 1 ticked; setting the value by code raises Click as a tick does.
class CheckBox : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { set(caption_, c); }
  int value() const { return value_; }
  void setValue(int v) {
    if (set(value_, v)) Click();
  }
  bool ticked() const { return value_ == 1; }
  Event<> Click;

 private:
  std::string caption_;
  int value_ = 0;
};

}  // namespace korvane::ui
