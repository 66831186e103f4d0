// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// A frame: a container drawn as a titled box (or a plain panel when its caption is empty and
// it has no border); controls placed in it take their geometry relative to it.
class Frame : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { set(caption_, c); }
  bool border() const { return border_; }
  void setBorder(bool on) { set(border_, on); }

 private:
  std::string caption_;
  bool border_ = true;
};

}  // namespace korvane::ui
