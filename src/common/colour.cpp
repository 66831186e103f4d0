// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/colour.h"

namespace korvane {

Colour shade(Colour c, int k) {
  return makeColour(red(c) + k, green(c) + k, blue(c) + (blue(c) * k) / 192);
}

Colour add(Colour c, int k) {
  return makeColour(red(c) + k, green(c) + k, blue(c) + k);
}

}  // namespace korvane
