#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

class Label : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { set(caption_, c); }

 private:
  std::string caption_;
};

}  // namespace korvane::ui
