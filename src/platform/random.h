// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace korvane::platform {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A uniform number in [0, 1), from a generator reseeded from the clock just before the draw.
  virtual double draw() = 0;
};

}  // namespace korvane::platform
