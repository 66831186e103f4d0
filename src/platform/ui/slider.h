// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <algorithm>

#include "platform/ui/control.h"

namespace korvane::ui {

// A horizontal slider. A value set by code, or by the user letting go of the thumb or clicking
// the track, raises Change; dragging the thumb raises Scroll for each position passed.
class Slider : public Control {
 public:
  using Control::Control;
  int min() const { return min_; }
  int max() const { return max_; }
  void setRange(int lo, int hi) {
    min_ = lo;
    max_ = std::max(lo, hi);
    PropertyChanged(Property::Content);
    setValue(value_);
  }
  int value() const { return value_; }
  // Kept inside the range.
  void setValue(int v) {
    if (set(value_, std::clamp(v, min_, max_))) Change();
  }
  int smallChange() const { return smallChange_; }
  void setSmallChange(int n) { set(smallChange_, n); }
  int largeChange() const { return largeChange_; }
  void setLargeChange(int n) { set(largeChange_, n); }
  int tickFrequency() const { return tickFrequency_; }
  void setTickFrequency(int n) { set(tickFrequency_, n); }
  // What the host calls while the user drags the thumb: the value follows and Scroll is raised.
  void scrollTo(int v) {
    if (set(value_, std::clamp(v, min_, max_))) Scroll();
  }
  // What the host calls when the user lets go of the thumb: Change is raised even when the drag
  // already brought the value there.
  void release(int v) {
    set(value_, std::clamp(v, min_, max_));
    Change();
  }
  Event<> Change;
  Event<> Scroll;

 private:
  int min_ = 0;
  int max_ = 10;
  int value_ = 0;
  int smallChange_ = 1;
  int largeChange_ = 5;
  int tickFrequency_ = 1;
};

}  // namespace korvane::ui
