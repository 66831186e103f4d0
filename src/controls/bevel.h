// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 3-D borders of styles 0 and 1: one-pixel edges and multi-ring bevels.
#include "common/colour.h"
#include "platform/raster.h"

namespace korvane::controls {

// Raised: top and left in highlight, right and bottom in shadow; sunken swaps the two.
void drawEdge(platform::Raster& s, int width, int height, Colour shadow, Colour highlight,
              bool raised);

// Rings n = bevel down to 0 around face, each step shaded by depth, strongest outside.
// A negative depth draws as 0.
void drawBevel(platform::Raster& s, int width, int height, Colour face, int bevel, int depth,
               bool raised);

}  // namespace korvane::controls
