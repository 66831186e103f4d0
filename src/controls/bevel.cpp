// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/bevel.h"

#include <algorithm>

namespace korvane::controls {

void drawEdge(platform::Raster& s, int width, int height, Colour shadow, Colour highlight,
              bool raised) {
  s.frame({0, 0, width, height}, raised ? shadow : highlight);
  s.frame({0, 0, width + 1, height + 1}, raised ? highlight : shadow);
}

void drawBevel(platform::Raster& s, int width, int height, Colour face, int bevel, int depth,
               bool raised) {
  const int d = std::max(depth, 0);
  auto darker = [d](Colour c) { return shade(c, -d); };
  auto lighter = [d](Colour c) { return add(c, d); };
  Colour c = face;
  for (int n = bevel; n >= 0; --n) {
    c = raised ? darker(c) : lighter(c);
    s.frame({n, n, width - n, height - n}, c);
  }
  c = face;
  for (int n = bevel; n >= 0; --n) {
    c = raised ? lighter(c) : darker(c);
    s.line(n, n, width - n - 1, n, c);
    s.line(n, n, n, height - n - 1, c);
  }
}

}  // namespace korvane::controls
