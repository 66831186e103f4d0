#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

enum class Alignment { Left, Right, Center };

class Label : public Control {
 public:
  using Control::Control;
  Alignment alignment() const { return alignment_; }
  void setAlignment(Alignment a) { set(alignment_, a); }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { set(caption_, c); }

 private:
  std::string caption_;
  Alignment alignment_ = Alignment::Left;
};

}  // namespace korvane::ui
