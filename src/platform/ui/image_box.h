#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// An image control showing one picture of the form's image list (0 = none).
class ImageBox : public Control {
 public:
  using Control::Control;
  int picture() const { return picture_; }
  void setPicture(int index) { set(picture_, index); }

 private:
  int picture_ = 0;
};

}  // namespace korvane::ui
