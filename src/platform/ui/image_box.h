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

 private:
  int picture_ = 0;
  std::string file_;
};

}  // namespace korvane::ui
