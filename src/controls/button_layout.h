// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the picture and the caption go inside the button.
#include "common/rect.h"

namespace korvane::controls {

struct LayoutInput {
  Rect inner;
  int pictureWidth = 0;
  int pictureHeight = 0;
  bool hasPicture = false;
  bool hasCaption = false;
  int textWidth = 0;  // the measured caption
  int textHeight = 0;
  int picturePosition = 1;
  int buttonStyle = 2;
  Rect picture;  // the previous rectangles: kept where the rules leave them
  Rect shadow;
};

struct LayoutResult {
  Rect text;
  Rect picture;
  Rect shadow;
};

// Centres the caption, and the picture above, left of, right of or below it with a 4-pixel gap.
LayoutResult layoutButton(const LayoutInput& in);

}  // namespace korvane::controls
