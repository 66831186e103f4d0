// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button's interaction flags, rectangles and last mouse press.
#include <cstdint>

#include "common/rect.h"

namespace korvane::controls {

struct ButtonFlags {
  bool focus = false;
  bool pressed = false;
  bool hover = false;     // the pointer is over the control
  bool keyLatch = false;  // Space is down and its first key-down was handled
};

struct ButtonRects {
  Rect inner;
  Rect picture;
  Rect text;
  Rect shadow;  // the picture's grey shadow; style 2 only
  Rect focus;
};

struct MousePress {
  int16_t button = 0;  // 1 left, 2 right, 4 middle
  int16_t shift = 0;   // 1 Shift, 2 Ctrl, 4 Alt, added
  float x = 0;
  float y = 0;
};

}  // namespace korvane::controls
