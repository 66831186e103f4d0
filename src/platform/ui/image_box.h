// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// An image control showing one picture of the form's image list (0 = none).
class ImageBox : public Control {
 public:
  using Control::Control;
  int picture() const { return picture_; }
  void setPicture(int index) { set(picture_, index); }
  // A picture file under the program folder, shown when no image-list picture is set.
  const std::string& file() const { return file_; }
  void setFile(const std::string& f) { set(file_, f); }
  // Scales the picture to the control's size; otherwise the control takes the picture's size.
  bool stretch() const { return stretch_; }
  void setStretch(bool on) { set(stretch_, on); }

 private:
  int picture_ = 0;
  std::string file_;
  bool stretch_ = false;
};

}  // namespace korvane::ui
