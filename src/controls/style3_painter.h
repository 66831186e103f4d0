// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gradient style: gradient, dark outer frame, inner lines, focus and hot rings, and the
// rounded window shape.
#include "common/colour.h"
#include "platform/raster.h"

namespace korvane::controls {

struct Style3Look {
  int width = 0;
  int height = 0;
  Colour back = 0;  // the resolved back colour
  bool enabled = true;
  bool pressed = false;
  bool focus = false;
  bool hot = false;
  Colour focusRing = 0;   // resolved
  Colour hotRing = 0;     // resolved
  Colour darkShadow = 0;  // resolved system colour 21
};

// The fixed ring colours used with the default colours.
inline constexpr Colour kDefaultFocusRing = makeColour(140, 170, 230);
inline constexpr Colour kDefaultHotRing = makeColour(225, 153, 71);

void paintStyle3(platform::Raster& s, const Style3Look& look);

// The gradient alone: normal darkens towards the bottom from row 1 (row 0 is left as it is),
// pressed darkens from shade(base, -32) towards the top.
void paintStyle3Gradient(platform::Raster& s, int width, int height, Colour base, bool pressed);

// The window shape: the whole rectangle but three pixels at each corner.
platform::ShapeMask style3Shape(int width, int height);

}  // namespace korvane::controls
