// SPDX-License-Identifier: GPL-3.0-or-later
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
  // The label takes the size of its caption in its font: the host measures it and reports the
  // size through noteGeometry.
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool on) { set(autoSize_, on); }
  // No background: what lies under the label shows through; it still takes the mouse.
  bool transparent() const { return transparent_; }
  void setTransparent(bool on) { set(transparent_, on); }
  // One line, drawn smaller than its font where the font would not fit it (a font's sample).
  bool shrinkToFit() const { return shrinkToFit_; }
  void setShrinkToFit(bool on) { set(shrinkToFit_, on); }

 private:
  std::string caption_;
  Alignment alignment_ = Alignment::Left;
  bool autoSize_ = false;
  bool transparent_ = false;
  bool shrinkToFit_ = false;
};

}  // namespace korvane::ui
