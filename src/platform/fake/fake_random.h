// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <deque>

#include "platform/random.h"

namespace korvane::platform {

// Draws the numbers a test queued, in order, then repeats the last one drawn.
class FakeRandom : public RandomSource {
 public:
  void queue(double r) { values_.push_back(r); }
  // Every draw from now on gives r.
  void always(double r) {
    values_.clear();
    last_ = r;
  }
  double draw() override {
    ++draws;
    if (!values_.empty()) {
      last_ = values_.front();
      values_.pop_front();
    }
    return last_;
  }
  int draws = 0;

 private:
  std::deque<double> values_;
  double last_ = 0.0;
};

}  // namespace korvane::platform
