// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's system colours, by index, and the resolving of colour values against them.
#include <array>
#include <cstddef>

#include "common/colour.h"

namespace korvane::platform {

class SystemColours {
 public:
  virtual ~SystemColours() = default;
  // The RGB colour of system colour index; black for an unknown index.
  virtual Colour colour(int index) const = 0;
  // An RGB value as it is; a system colour value through the table.
  Colour resolve(Colour value) const {
    return isSystemColour(value) ? colour(systemColourIndex(value)) : value;
  }
};

// The classic desktop scheme: the default where the desktop offers none, and the tests' table.
class ClassicSystemColours : public SystemColours {
 public:
  static constexpr int kCount = 31;
  Colour colour(int index) const override {
    return index >= 0 && index < kCount ? table_[static_cast<size_t>(index)] : 0;
  }
  void set(int index, Colour rgb) {
    if (index >= 0 && index < kCount) table_[static_cast<size_t>(index)] = rgb;
  }

 private:
  std::array<Colour, kCount> table_{
      makeColour(212, 208, 200),  // 0 scroll bar
      makeColour(58, 110, 165),   // 1 desktop
      makeColour(10, 36, 106),    // 2 active caption
      makeColour(128, 128, 128),  // 3 inactive caption
      makeColour(212, 208, 200),  // 4 menu
      makeColour(255, 255, 255),  // 5 window background
      makeColour(0, 0, 0),        // 6 window frame
      makeColour(0, 0, 0),        // 7 menu text
      makeColour(0, 0, 0),        // 8 window text
      makeColour(255, 255, 255),  // 9 caption text
      makeColour(212, 208, 200),  // 10 active border
      makeColour(212, 208, 200),  // 11 inactive border
      makeColour(128, 128, 128),  // 12 application workspace
      makeColour(10, 36, 106),    // 13 selection highlight
      makeColour(255, 255, 255),  // 14 highlighted text
      makeColour(212, 208, 200),  // 15 button face
      makeColour(128, 128, 128),  // 16 button shadow
      makeColour(128, 128, 128),  // 17 grey text
      makeColour(0, 0, 0),        // 18 button text
      makeColour(212, 208, 200),  // 19 inactive caption text
      makeColour(255, 255, 255),  // 20 button highlight
      makeColour(64, 64, 64),     // 21 3-D dark shadow
      makeColour(212, 208, 200),  // 22 3-D light
      makeColour(0, 0, 0),        // 23 tooltip text
      makeColour(255, 255, 225),  // 24 tooltip background
      makeColour(181, 181, 181),  // 25 alternate button face
      makeColour(0, 0, 128),      // 26 hot-tracking
      makeColour(166, 202, 240),  // 27 active caption gradient
      makeColour(192, 192, 192),  // 28 inactive caption gradient
      makeColour(10, 36, 106),    // 29 menu highlight
      makeColour(212, 208, 200),  // 30 menu bar
  };
};

}  // namespace korvane::platform
