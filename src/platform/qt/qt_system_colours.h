// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// System colours from the application palette; indices without a palette role stay classic.
#include "platform/system_colours.h"

namespace korvane::platform {

class QtSystemColours : public SystemColours {
 public:
  Colour colour(int index) const override;

 private:
  ClassicSystemColours classic_;
};

}  // namespace korvane::platform
