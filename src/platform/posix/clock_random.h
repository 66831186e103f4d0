// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's random numbers: a generator reseeded from the clock just before every draw.
#include "platform/random.h"

namespace korvane::platform {

class ClockRandom : public RandomSource {
 public:
  double draw() override;
};

}  // namespace korvane::platform
